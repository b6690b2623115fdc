// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QCryptographicHash>

// Local
#include "import_picture.h"
#include "test_support.h"

using namespace pelmora;
using namespace pelmora::test;

// The BMP and JPEG files of the corpus open from disk with the pixels they
// have always had, or are refused as they always were (corpus_pixels.tsv).
// The BMP suite's good and bad folders are left to bmp_test, which checks
// them against a plain decoding.
class CorpusPixelsTest : public QObject {
    Q_OBJECT

private slots:
    void filesOpenAsBefore_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("outcome");
        QFile table(QFINDTESTDATA("corpus_pixels.tsv"));
        QVERIFY(table.open(QIODevice::ReadOnly | QIODevice::Text));
        while (!table.atEnd()) {
            const QStringList fields = QString::fromUtf8(table.readLine()).trimmed().split(QLatin1Char('\t'));
            if (!fields[0].startsWith(QLatin1Char('#')))
                QTest::newRow(qPrintable(fields[0])) << fields[0] << fields.mid(1).join(QLatin1Char('\t'));
        }
    }
    void filesOpenAsBefore() {
        PELMORA_REQUIRE_CORPUS();
        QFETCH(QString, name);
        QFETCH(QString, outcome);
        const QString path = corpusDir() + QLatin1Char('/') + name;
        QString got = QStringLiteral("refused");
        const QString error = errorOf([&] {
            const Bitmap picture = importPicture(path, *pictureKindOf(path));
            QCryptographicHash hash(QCryptographicHash::Md5);
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x) {
                    const QRgb rgb = rgbFromColour(picture.pixel(x, y));
                    const char bytes[] = {char(qRed(rgb)), char(qGreen(rgb)), char(qBlue(rgb))};
                    hash.addData(QByteArrayView(bytes, 3));
                }
            got = QStringLiteral("%1x%2\t%3").arg(picture.width()).arg(picture.height())
                      .arg(QString::fromLatin1(hash.result().toHex()));
        });
        QVERIFY2(error.isEmpty() || error == QStringLiteral("ビットマップイメージが不正です"), qPrintable(error));
        QCOMPARE(got, outcome);
    }
};

PELMORA_TEST_GROUP(CorpusPixelsTest)

#include "corpus_pixels_test.moc"
