// SPDX-License-Identifier: GPL-2.0-or-later
// What a command line does to the files it names: inputs are never
// replaced, types are never guessed wrong, a file's kind is its content's.

// Qt
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QtEndian>

// Local
#include "batch_test.h"
#include "save_picture.h"
#include "../metafile/metafile_builders.h"

// Std
#include <algorithm>
#include <unistd.h>

using namespace pelmora;

namespace {

// An ICO file whose pictures are PNGs of these sides, each white with a
// black top-left pixel.
QByteArray iconOf(const QList<int>& sides) {
    QList<QByteArray> pictures;
    for (int side : sides) {
        QImage image(side, side, QImage::Format_ARGB32);
        image.fill(Qt::white);
        image.setPixel(0, 0, qRgb(0, 0, 0));
        pictures.append(encoded(image));
    }
    QByteArray file(6 + 16 * sides.size(), '\0');
    qToLittleEndian<quint16>(1, file.data() + 2);
    qToLittleEndian<quint16>(quint16(sides.size()), file.data() + 4);
    for (qsizetype i = 0; i < sides.size(); ++i) {
        char* entry = file.data() + 6 + 16 * i;
        entry[0] = char(sides[i] % 256);
        entry[1] = char(sides[i] % 256);
        qToLittleEndian<quint16>(1, entry + 4);
        qToLittleEndian<quint16>(32, entry + 6);
        qToLittleEndian<quint32>(quint32(pictures[i].size()), entry + 8);
        qToLittleEndian<quint32>(quint32(file.size()), entry + 12);
        file += pictures[i];
    }
    return file;
}

} // namespace

// Each row: the files it meets (see commandLines), what it says on standard
// error, its exit status, and what it wrote: a file and what --info says of
// it, or "-" for nothing new.
void BatchTest::commandLines_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");   // the first line on standard error; empty: none
    QTest::addColumn<QString>("written");   // the output and --info's line of it; "-": nothing written

    QTest::newRow("help") << QStringList{"--help"} << 0 << "" << "-";
    QTest::newRow("no output named") << QStringList{"small.bmp"} << 2
                                     << "pelmora-batch: give either -o FILE or --out-dir DIR" << "-";
    QTest::newRow("unknown option") << QStringList{"--blur", "3", "small.bmp"} << 2
                                    << "pelmora-batch: unknown option --blur" << "-";
    QTest::newRow("bad colour") << QStringList{"--fill", "#12", "-o", "o.bmp", "small.bmp"} << 2
                                << "pelmora-batch: --fill: \"#12\" is not a valid value" << "-";
    QTest::newRow("-o with two inputs") << QStringList{"-o", "o.bmp", "small.bmp", "small.bmp"} << 2
                                        << "pelmora-batch: -o takes one input; use --out-dir for several" << "-";
    // Whatever else failed, the good input was written.
    QTest::newRow("one of two fails") << QStringList{"--out-dir", "out", "small.bmp", "missing.bmp"} << 1
                                      << "missing.bmp: no such file" << "out/small.bmp\tBMP\t4\t3";
    QTest::newRow("refused extension") << QStringList{"--out-dir", "out", "small.bmp", "picture.psd"} << 1
                                       << "picture.psd: not a picture file pelmora-batch reads (.bmp, .jpg, "
                                          ".jpeg, .ico, .wmf, .emf, .png, .gif, .tif, .tiff, .webp)"
                                       << "out/small.bmp\tBMP\t4\t3";
    QTest::newRow("jpeg is not filled") << QStringList{"--fill", "black", "-o", "o.bmp", "photo.jpg"} << 1
                                        << "photo.jpg: pictures from JPEG files are outlined or filled only with "
                                           "--fuzz (for example --fuzz 10)" << "-";
    QTest::newRow("jpeg is turned") << QStringList{"--rotate", "90", "-o", "o.jpg", "photo.jpg"} << 0 << ""
                                    << "o.jpg\tJPEG\t8\t8";
    QTest::newRow("outline to an icon") << QStringList{"--outline", "blue", "--size", "32x32", "-o", "o.ico", "small.bmp"}
                                        << 0 << "" << "o.ico\tICON\t32\t32";
    QTest::newRow("icon of the wrong size") << QStringList{"--type", "ico", "-o", "o.ico", "small.bmp"} << 1
                                            << "small.bmp -> o.ico: An Icon file can hold only a picture of Icon "
                                               "size (32x32) pixels" << "-";
    // Errors while writing name the output as well as the input.
    QTest::newRow("output folder missing") << QStringList{"-o", "no/such/x.bmp", "small.bmp"} << 1
                                           << "small.bmp -> no/such/x.bmp: File not found" << "-";
    QTest::newRow("--info takes no --solid") << QStringList{"--info", "--solid", "small.bmp"} << 2
                                             << "pelmora-batch: --info takes only input files" << "-";
    for (const QString jobs : {"0", "-3", "two", "1.5", ""})
        QTest::addRow("--jobs \"%s\"", qPrintable(jobs))
            << QStringList{"--jobs=" + jobs, "-o", "o.bmp", "small.bmp"} << 2
            << QStringLiteral("pelmora-batch: --jobs: \"%1\" is not a valid value").arg(jobs) << "-";
    QTest::newRow("-j without a number") << QStringList{"-o", "o.bmp", "small.bmp", "-j"} << 2
                                         << "pelmora-batch: -j needs a value" << "-";
    QTest::newRow("empty picture to PNG") << QStringList{"--scale", "10", "-o", "o.png", "small.bmp"} << 1
                                          << "small.bmp -> o.png: a PNG cannot hold a picture of no pixels" << "-";
    const QString replace = QStringLiteral("would replace an input");
    QTest::newRow("output is the input") << QStringList{"--fill", "black", "-o", "small.bmp", "small.bmp"} << 1
                                         << "small.bmp -> small.bmp: " + replace << "-";
    QTest::newRow("by a ./ path") << QStringList{"-o", "./small.bmp", "small.bmp"} << 1
                                  << "small.bmp -> ./small.bmp: " + replace << "-";
    QTest::newRow("through a symbolic link") << QStringList{"-o", "soft.bmp", "small.bmp"} << 1
                                             << "small.bmp -> soft.bmp: " + replace << "-";
    QTest::newRow("a hard link") << QStringList{"-o", "hard.bmp", "small.bmp"} << 1
                                 << "small.bmp -> hard.bmp: " + replace << "-";
    QTest::newRow("--out-dir onto the inputs' folder")
        << QStringList{"--out-dir", ".", "small.bmp", "photo.jpg"} << 1 << "small.bmp -> ./small.bmp: " + replace << "-";
    QTest::newRow("-n keeps an existing output") << QStringList{"-n", "-o", "old.bmp", "small.bmp"} << 0
                                                 << "small.bmp -> old.bmp: exists; skipped" << "-";
    QTest::newRow("-n writes a new one") << QStringList{"--no-clobber", "-o", "new.bmp", "small.bmp"} << 0 << ""
                                         << "new.bmp\tBMP\t4\t3";
    QTest::newRow("--out-dir made, keeping a PNG a PNG") << QStringList{"--out-dir", "out/deeper", "pic.gif"} << 0
                                                         << "" << "out/deeper/pic.png\tPNG\t4\t3";
    QTest::newRow("--out-dir keeps a JPEG a JPEG") << QStringList{"--out-dir", "out", "photo"} << 0 << ""
                                                   << "out/photo.jpg\tJPEG\t8\t8";
    const QString types = QStringLiteral("bmp, jpg, jpeg, ico, png, svg, webp, pdf, dxf");
    for (const char* name : {"z.gif", "z.tiff", "z", "z.png.txt"})
        QTest::addRow("-o %s", name) << QStringList{"-o", name, "small.bmp"} << 2
                                     << QStringLiteral("pelmora-batch: %1: not a type pelmora-batch writes; give "
                                                       "--type, or end the name in one of: %2").arg(name, types)
                                     << "-";
    QTest::newRow("--type names it") << QStringList{"--type", "png", "-o", "z.gif", "small.bmp"} << 0 << ""
                                     << "z.gif\tPNG\t4\t3";
    QTest::newRow("-o - without --type") << QStringList{"-o", "-", "small.bmp"} << 2
                                         << "pelmora-batch: -o - needs --type (" + types + ")" << "-";
    QTest::newRow("standard input into a folder") << QStringList{"--out-dir", "out", "-"} << 2
                                                   << "pelmora-batch: standard input (-) needs -o" << "-";
    QTest::newRow("a PNG named .gif") << QStringList{"--opaque", "-o", "o.png", "pic.gif"} << 0 << ""
                                      << "o.png\tPNG\t4\t3";
    QTest::newRow("a JPEG without extension") << QStringList{"-o", "o.bmp", "photo"} << 0 << "" << "o.bmp\tBMP\t8\t8";
    QTest::newRow("a folder") << QStringList{"-o", "o.bmp", "folder"} << 1 << "folder: is a folder" << "-";
    // One line, naming the file; nothing of libpng's own.
    QTest::newRow("a corrupt PNG") << QStringList{"-o", "o.bmp", "corrupt.png"} << 1
                                   << "corrupt.png: Invalid PNG image" << "-";
    for (const char* colour : {"transparent", "#80ff0000"})
        QTest::addRow("--fill %s", colour)
            << QStringList{"--fill", colour, "-o", "o.png", "small.bmp"} << 2
            << QStringLiteral("pelmora-batch: --fill: \"%1\" is not opaque; colours are drawn opaque, and a PNG "
                              "output is already transparent where the background is").arg(colour)
            << "-";
}

void BatchTest::commandLines() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, error);
    QFETCH(QString, written);

    QVERIFY(QFile::link(QStringLiteral("small.bmp"), path(QStringLiteral("soft.bmp"))));
    QVERIFY(::link(QFile::encodeName(path(QStringLiteral("small.bmp"))).constData(),
                   QFile::encodeName(path(QStringLiteral("hard.bmp"))).constData()) == 0);
    writeFile(QStringLiteral("old.bmp"), "old bytes");
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(1, 1, qRgb(0, 0, 0));
    writeFile(QStringLiteral("pic.gif"), encoded(image));
    QByteArray corrupt = encoded(image);
    corrupt[29] = char(corrupt[29] ^ 1);   // the header's checksum
    writeFile(QStringLiteral("corrupt.png"), corrupt);
    writeFile(QStringLiteral("photo"), readFile(QStringLiteral("photo.jpg")));
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("folder")));
    const QStringList before = QDir(dir_->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    const QByteArray input = readFile(QStringLiteral("small.bmp"));

    const Run result = run(arguments);
    QCOMPARE(result.err.section(QLatin1Char('\n'), 0, 0), error);
    QVERIFY2(!result.err.contains(QLatin1String("libpng")), qPrintable(result.err));
    QCOMPARE(result.status, status);
    QCOMPARE(readFile(QStringLiteral("small.bmp")), input);
    QCOMPARE(readFile(QStringLiteral("old.bmp")), QByteArray("old bytes"));
    if (written == QLatin1String("-")) {
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), before);
    } else {
        const QString output = written.section(QLatin1Char('\t'), 0, 0);
        const Run info = run({"--info", output});
        QCOMPARE(info.out.section(QLatin1Char('\t'), 0, 3), written);
    }
}

// A picture in from a pipe, its result out to one, with nothing else on
// standard output.
void BatchTest::pipesCarryThePicture() {
    QCOMPARE(run({"--fill", "red", "-o", "file.bmp", "small.bmp"}).status, 0);
    const Run piped = run({"--fill", "red", "--type", "bmp", "-o", "-", "-"}, readFile(QStringLiteral("small.bmp")));
    QCOMPARE(piped.err, QString());
    QCOMPARE(piped.status, 0);
    QCOMPARE(piped.outBytes, readFile(QStringLiteral("file.bmp")));

    const Run info = run({"--info", "-"}, readFile(QStringLiteral("photo.jpg")));
    QVERIFY2(info.out.startsWith(QLatin1String("-\tJPEG\t8\t8\t")), qPrintable(info.out));
    QCOMPARE(run({"-o", "o.bmp", "-", "-"}).status, 2);
}

void BatchTest::sizesKeepProportions_data() {
    QTest::addColumn<QStringList>("step");
    QTest::addColumn<QSize>("size");   // of small.bmp, 4 x 3, after it
    QTest::newRow("width given") << QStringList{"--size", "8x"} << QSize(8, 6);
    QTest::newRow("height given") << QStringList{"--size", "x6"} << QSize(8, 6);
    QTest::newRow("rounded") << QStringList{"--size", "10x"} << QSize(10, 8);
    QTest::newRow("never below one pixel") << QStringList{"--size", "1x"} << QSize(1, 1);
    QTest::newRow("exact") << QStringList{"--size", "5x5"} << QSize(5, 5);
    QTest::newRow("fit: width rules") << QStringList{"--fit", "10x10"} << QSize(10, 8);
    QTest::newRow("fit: height rules") << QStringList{"--fit", "100x6"} << QSize(8, 6);
    QTest::newRow("fit: smaller") << QStringList{"--fit", "2x2"} << QSize(2, 2);
}

void BatchTest::sizesKeepProportions() {
    QFETCH(QStringList, step);
    QFETCH(QSize, size);
    QCOMPARE(run(step + QStringList{"-o", "o.bmp", "small.bmp"}).status, 0);
    const Bitmap picture = read(QStringLiteral("o.bmp"));
    QCOMPARE(QSize(picture.width(), picture.height()), size);
    for (const char* bad : {"x", "0x", "x0", "8x6x", "-8x"})
        QCOMPARE(run({step[0], bad, "-o", "o.bmp", "small.bmp"}).status, 2);
    QCOMPARE(run({"--fit", "8x", "-o", "o.bmp", "small.bmp"}).status, 2);
}

// Every kind read is known by its first bytes under any name; the name
// counts only where they say nothing.
void BatchTest::kindsByContent_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("said");   // --info's kind, or how the error starts
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QByteArray wmf = test::WmfBuilder(0, 0, 64, 32, 96).bytes();
    QTest::newRow("BMP") << encoded(image, "BMP") << "a.dat" << "BMP";
    QTest::newRow("JPEG") << encoded(image, "JPEG") << "a.png" << "JPEG";
    QTest::newRow("icon") << iconOf({32}) << "a" << "ICON";
    QTest::newRow("placeable WMF") << wmf << "a.emf" << "WMF";
    QTest::newRow("EMF") << test::emf100().bytes() << "a.wmf" << "EMF";
    QTest::newRow("PNG") << encoded(image) << "a.jpg" << "PNG";
    QTest::newRow("GIF") << QByteArray::fromHex("47494638396101000100800000000000ffffff2c00000000010001000002024401003b")
                         << "a.tif" << "GIF";
    QTest::newRow("TIFF") << encoded(image, "TIFF") << "a.bmp" << "TIFF";
    QTest::newRow("WebP") << encoded(image, "WEBP") << "a.gif" << "WEBP";
    // A WMF without its placeable header says nothing of itself; the
    // metafile reader refuses it.
    QTest::newRow("bare WMF, named .wmf") << wmf.mid(22) << "a.wmf" << "a.wmf: ";
    QTest::newRow("bare WMF, named .dat") << wmf.mid(22) << "a.dat"
                                          << "a.dat: not a picture file pelmora-batch reads (.bmp, .jpg, .jpeg, "
                                             ".ico, .wmf, .emf, .png, .gif, .tif, .tiff, .webp)";
}

void BatchTest::kindsByContent() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, said);
    QVERIFY(!bytes.isEmpty());
    writeFile(name, bytes);
    const Run info = run({"--info", name});
    if (said.contains(QLatin1Char(':'))) {
        QVERIFY2(info.err.startsWith(said), qPrintable(info.err));
        QCOMPARE(info.status, 1);
    } else {
        QCOMPARE(info.out.section(QLatin1Char('\t'), 1, 1), said);
    }
}

void BatchTest::iconGivesItsLargestPicture() {
    writeFile(QStringLiteral("three.ico"), iconOf({16, 48, 32}));
    const Run info = run({"--info", "three.ico"});
    QVERIFY2(info.out.startsWith(QLatin1String("three.ico\tICON\t48\t48\t")), qPrintable(info.out + info.err));
}

// LANG=C speaks English, a Japanese locale Japanese: the tool's own texts
// and the readers' alike.
void BatchTest::messagesInTheUsersLanguage_data() {
    QTest::addColumn<QStringList>("locale");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    const QStringList missing{"--info", "missing.bmp"}, broken{"--info", "broken.bmp"};
    QTest::newRow("C: missing") << QStringList{"LANG=C"} << missing << "missing.bmp: no such file";
    QTest::newRow("ja: missing") << QStringList{"LANG=ja_JP.UTF-8"} << missing
                                 << "missing.bmp: ファイルが見つかりません";
    QTest::newRow("nothing set: English") << QStringList() << missing << "missing.bmp: no such file";
    QTest::newRow("LC_MESSAGES before LANG") << QStringList{"LC_MESSAGES=ja_JP.UTF-8", "LANG=C"} << missing
                                             << "missing.bmp: ファイルが見つかりません";
    QTest::newRow("LC_ALL before both") << QStringList{"LC_ALL=C", "LC_MESSAGES=ja_JP.UTF-8"} << missing
                                        << "missing.bmp: no such file";
    QTest::newRow("ja: a reader's text") << QStringList{"LANG=ja_JP.UTF-8"} << broken
                                         << "broken.bmp: ビットマップイメージが不正です";
    QTest::newRow("C: a reader's text") << QStringList{"LANG=C"} << broken << "broken.bmp: Invalid bitmap image";
    QTest::newRow("ja: the command line") << QStringList{"LANG=ja"} << QStringList{"--blur", "small.bmp"}
                                          << "pelmora-batch: 不明なオプション --blur";
}

void BatchTest::messagesInTheUsersLanguage() {
    QFETCH(QStringList, locale);
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    writeFile(QStringLiteral("broken.bmp"), "BM, and nothing after");
    const Run result = run(arguments, QByteArray(), locale);
    QCOMPARE(result.err.section(QLatin1Char('\n'), 0, 0), error);
    const bool japanese = std::any_of(error.begin(), error.end(), [](QChar c) { return c.unicode() > 0x7f; });
    QCOMPARE(run({"--help"}, QByteArray(), locale).out.contains(QStringLiteral("ヘルプ")), japanese);
}
