// Qt
#include <QTest>

// Local
#include "imagefile/open_picture.h"
#include "test_support.h"

using namespace pelmora;

using Kind = std::optional<pelmora::PictureKind>;
Q_DECLARE_METATYPE(Kind)

// The extension rule, the caption's file name and the size text.
class NamesTest : public QObject {
    Q_OBJECT

private slots:
    void extensionDecidesTheKind_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("name");
        const Kind jpeg = PictureKind::Jpeg, no;
        QTest::newRow("capitals") << "PHOTO.JPG" << ".jpg" << jpeg << "PHOTO.JPG";
        QTest::newRow("two dots") << "a.b.jpeg" << ".jpeg" << jpeg << "a.b.jpeg";
        QTest::newRow("posix folder") << "/home/u/cat.BMP" << ".bmp" << Kind(PictureKind::Bitmap) << "cat.BMP";
        QTest::newRow("windows folder") << "C:\\x\\y.Ico" << ".ico" << Kind(PictureKind::Icon) << "y.Ico";
        QTest::newRow("drive only") << "d:pic.WMF" << ".wmf" << Kind(PictureKind::Wmf) << "pic.WMF";
        QTest::newRow("emf") << "x.emf" << ".emf" << Kind(PictureKind::Emf) << "x.emf";
        QTest::newRow("jpe") << "photo.jpe" << ".jpe" << no << "photo.jpe";
        QTest::newRow("bmp then txt") << "picture.bmp.txt" << ".txt" << no << "picture.bmp.txt";
        QTest::newRow("no dot") << "picture" << "" << no << "picture";
        QTest::newRow("dot in folder, backslash") << "C:\\pics.old\\photo" << "" << no << "photo";
        QTest::newRow("dot in folder, slash") << "/pics.bmp/photo" << "" << no << "photo";
        QTest::newRow("dot before drive colon") << "a.bmp:photo" << "" << no << "photo";
        QTest::newRow("dot alone") << "photo." << "." << no << "photo.";
        // Only ASCII letters are lowered.
        QTest::newRow("fullwidth letter") << "x.\uFF22MP" << ".\uFF22mp" << no << "x.\uFF22MP";
        QTest::newRow("dotted capital I") << "x.\u0130CO" << ".\u0130co" << no << "x.\u0130CO";
    }
    void extensionDecidesTheKind() {
        QFETCH(QString, path);
        QFETCH(QString, extension);
        QFETCH(Kind, kind);
        QFETCH(QString, name);
        QCOMPARE(pictureExtension(path), extension);
        QCOMPARE(pictureKindOf(path), kind);
        QCOMPARE(fileNamePart(path), name);
    }

    void sizeText_data() {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty file") << qint64(0) << " byt";
        QTest::newRow("800") << qint64(800) << "800 byt";
        QTest::newRow("1023") << qint64(1023) << "1,023 byt";
        QTest::newRow("1024") << qint64(1024) << "1 KB";
        QTest::newRow("1280") << qint64(1280) << "1.3 KB";
        QTest::newRow("fraction rounds to nothing") << qint64(1075) << "1 KB";
        QTest::newRow("rounds up into the next whole") << qint64(2047) << "2 KB";
        QTest::newRow("1048575") << qint64(1048575) << "1,024 KB";
        QTest::newRow("1048576") << qint64(1048576) << "1 MB";
        QTest::newRow("5000000") << qint64(5000000) << "4.77 MB";
        QTest::newRow("half up in MB") << qint64(1179648) << "1.13 MB";
        QTest::newRow("just below G") << qint64(1073741823) << "1,024 MB";
        QTest::newRow("1 GB") << qint64(1073741824) << "1 GB";
        QTest::newRow("2 GiB") << qint64(2147483648) << "2 GB";
        QTest::newRow("4.5 GiB") << qint64(4831838208) << "4.5 GB";
        QTest::newRow("3 TiB") << (qint64(3) << 40) << "3,072 GB";
    }
    void sizeText() {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(fileSizeText(bytes), text);
    }
};

PELMORA_TEST_GROUP(NamesTest)

#include "names_test.moc"
