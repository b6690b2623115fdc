// Qt
#include <QTest>

// Local
#include "imagefile/open_picture.h"
#include "test_runners.h"

using namespace pelmora;

// The extension rule, the caption's file name and the size text.
class NamesTest : public QObject {
    Q_OBJECT

private slots:
    void extensionDecidesTheKind_data();
    void extensionDecidesTheKind();
    void fileNamePartForCaption_data();
    void fileNamePartForCaption();
    void sizeText_data();
    void sizeText();
};

Q_DECLARE_METATYPE(std::optional<pelmora::PictureKind>)

void NamesTest::extensionDecidesTheKind_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<std::optional<PictureKind>>("kind");
    const std::optional<PictureKind> refused;
    QTest::newRow("capitals") << "PHOTO.JPG" << ".jpg" << std::optional(PictureKind::Jpeg);
    QTest::newRow("mixed case") << "Photo.Jpeg" << ".jpeg" << std::optional(PictureKind::Jpeg);
    QTest::newRow("two dots") << "a.b.jpeg" << ".jpeg" << std::optional(PictureKind::Jpeg);
    QTest::newRow("bitmap") << "/home/u/cat.BMP" << ".bmp" << std::optional(PictureKind::Bitmap);
    QTest::newRow("icon") << "C:\\x\\y.Ico" << ".ico" << std::optional(PictureKind::Icon);
    QTest::newRow("wmf") << "d:pic.WMF" << ".wmf" << std::optional(PictureKind::Wmf);
    QTest::newRow("emf") << "x.emf" << ".emf" << std::optional(PictureKind::Emf);
    QTest::newRow("jpe") << "photo.jpe" << ".jpe" << refused;
    QTest::newRow("gif") << "photo.gif" << ".gif" << refused;
    QTest::newRow("png") << "photo.png" << ".png" << refused;
    QTest::newRow("bmp then txt") << "picture.bmp.txt" << ".txt" << refused;
    QTest::newRow("no dot") << "picture" << "" << refused;
    QTest::newRow("dot in folder, backslash") << "C:\\pics.old\\photo" << "" << refused;
    QTest::newRow("dot in folder, slash") << "/pics.bmp/photo" << "" << refused;
    QTest::newRow("dot before drive colon") << "a.bmp:photo" << "" << refused;
    QTest::newRow("dot alone") << "photo." << "." << refused;
    // Only ASCII letters are lowered: a fullwidth "Ｂ" stays as it is.
    QTest::newRow("fullwidth letter") << "x.\uFF22MP" << ".\uFF22mp" << refused;
    QTest::newRow("dotted capital I") << "x.\u0130CO" << ".\u0130co" << refused;
}

void NamesTest::extensionDecidesTheKind() {
    QFETCH(QString, path);
    QFETCH(QString, extension);
    QFETCH(std::optional<PictureKind>, kind);
    QCOMPARE(pictureExtension(path), extension);
    QCOMPARE(pictureKindOf(path), kind);
}




void NamesTest::fileNamePartForCaption_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("windows") << "C:\\images\\cat.bmp" << "cat.bmp";
    QTest::newRow("drive only") << "C:cat.bmp" << "cat.bmp";
    QTest::newRow("posix") << "/home/u/shadow.jpg" << "shadow.jpg";
    QTest::newRow("bare") << "cat.bmp" << "cat.bmp";
}

void NamesTest::fileNamePartForCaption() {
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(fileNamePart(path), name);
}

void NamesTest::sizeText_data() {
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty file") << qint64(0) << " byt";
    QTest::newRow("800") << qint64(800) << "800 byt";
    QTest::newRow("1023") << qint64(1023) << "1,023 byt";
    QTest::newRow("1024") << qint64(1024) << "1 KB";
    QTest::newRow("1280") << qint64(1280) << "1.3 KB";
    QTest::newRow("1536") << qint64(1536) << "1.5 KB";
    QTest::newRow("fraction rounds to nothing") << qint64(1075) << "1 KB";   // 1.0498
    QTest::newRow("rounds up into the next whole") << qint64(2047) << "2 KB";
    QTest::newRow("1048575") << qint64(1048575) << "1,024 KB";
    QTest::newRow("1048576") << qint64(1048576) << "1 MB";
    QTest::newRow("5000000") << qint64(5000000) << "4.77 MB";
    QTest::newRow("half up in MB") << qint64(1179648) << "1.13 MB";   // 1.125
    QTest::newRow("2.5 MB") << qint64(2621440) << "2.5 MB";
    QTest::newRow("just below G") << qint64(1073741823) << "1,024 MB";
    QTest::newRow("1 GB") << qint64(1073741824) << "1 GB";
    QTest::newRow("2 GiB") << qint64(2147483648) << "2 GB";
    QTest::newRow("4.5 GiB") << qint64(4831838208) << "4.5 GB";
    QTest::newRow("3 TiB") << (qint64(3) << 40) << "3,072 GB";
}

void NamesTest::sizeText() {
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(fileSizeText(bytes), text);
}

int runNamesTests(int argc, char** argv) {
    NamesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "names_test.moc"
