// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QDir>
#include <QFile>
#include <QTest>

// Local
#include "batch_test.h"
#include "save_picture.h"
#include "../metafile/metafile_builders.h"
#include "test_main.h"

using namespace pelmora;

BatchTest::Run BatchTest::run(const QStringList& arguments, const QByteArray& standardInput,
                              const QStringList& locale) const {
    QProcess process;
    process.setWorkingDirectory(dir_->path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
        environment.remove(QString::fromLatin1(variable));
    for (const QString& setting : locale)
        environment.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(PELMORA_BATCH_PATH), arguments);
    process.write(standardInput);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        return {-1, QString(), QStringLiteral("did not finish"), QByteArray()};
    const QByteArray out = process.readAllStandardOutput();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, QString::fromUtf8(out),
            QString::fromUtf8(process.readAllStandardError()), out};
}

void BatchTest::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray BatchTest::readFile(const QString& name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// small.bmp: 4 x 3 on white, a black pixel at (1, 0) and a red one at (2, 2).
void BatchTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    Bitmap picture = Bitmap::white(4, 3);
    picture.setPixel(1, 0, kBlack);
    picture.setPixel(2, 2, 0x0000FF);
    saveAsBitmap(picture, path(QStringLiteral("small.bmp")));
    saveAsJpeg(Bitmap::white(8, 8), path(QStringLiteral("photo.jpg")));
    writeFile(QStringLiteral("picture.psd"), QByteArrayLiteral("8BPS, not read here"));
}

// Filled green, 4 x 3; turned clockwise to 3 x 4, (x, y) -> (2 - y, x);
// doubled to 6 x 8; mirrored, (x, y) -> (5 - x, y).
void BatchTest::fillThenTurnThenScaleInOrder() {
    QCOMPARE(run({"--fill", "#00ff00", "--rotate", "90", "--scale", "200", "--mirror", "lr",
                  "-o", "result.bmp", "small.bmp"}).status, 0);
    const Bitmap picture = read(QStringLiteral("result.bmp"));
    QCOMPARE(picture.width(), 6);
    QCOMPARE(picture.height(), 8);
    const Colour g = 0x00FF00, w = kWhite;
    const Colour turned[4][3] = {{w, w, w}, {w, w, g}, {g, w, w}, {w, w, w}};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 6; ++x)
            QCOMPARE(picture.pixel(x, y), turned[y / 2][(5 - x) / 2]);
}

void BatchTest::infoListsEachInputInOrder() {
    const Run result = run({"--info", "-j", "2", "small.bmp", "photo.jpg", "missing.bmp"});
    QCOMPARE(result.status, 1);
    const QString bmpSize = fileSizeText(fileSizeOnDisk(path(QStringLiteral("small.bmp"))));
    const QString jpegSize = fileSizeText(fileSizeOnDisk(path(QStringLiteral("photo.jpg"))));
    QCOMPARE(result.out, QStringLiteral("small.bmp\tBMP\t4\t3\t%1\nphoto.jpg\tJPEG\t8\t8\t%2\n").arg(bmpSize, jpegSize));
    QCOMPARE(result.err, QStringLiteral("missing.bmp: no such file\n"));
}

// Text in a metafile needs fonts, which a console-only Qt application lacks.
void BatchTest::metafileTextIsDrawn() {
    const quint16 textOut = 0x0521;
    writeFile(QStringLiteral("text.wmf"), test::WmfBuilder(0, 0, 64, 32, 96).record(textOut, {2, 0x4948, 4, 4}).bytes());

    const Run info = run({"--info", "text.wmf"});
    QCOMPARE(info.err, QString());
    QVERIFY(info.out.startsWith(QStringLiteral("text.wmf\tWMF\t64\t32\t")));

    const Run drawn = run({"-j", "2", "-o", "text.bmp", "text.wmf"});
    QCOMPARE(drawn.err, QString());
    QCOMPARE(drawn.status, 0);
    const Bitmap picture = read(QStringLiteral("text.bmp"));
    bool inked = false;
    for (int y = 0; y < picture.height() && !inked; ++y)
        for (int x = 0; x < picture.width() && !inked; ++x)
            inked = picture.pixel(x, y) != kWhite;
    QVERIFY(inked);
}

// Inputs of different sizes finish out of turn when several run at once;
// what is written and said is the same as one at a time, in input order.
// The largest input comes first and fails last, at its output, which a
// folder of its name is in the way of.
void BatchTest::jobsChangeNothingButTheWait() {
    QStringList inputs;
    for (int i = 0; i < 7; ++i) {
        const int side = i == 0 ? 1500 : 5 + 3 * i;
        Bitmap picture = Bitmap::white(side, side + i);
        for (int k = 1; k < side; k += 2)
            picture.setPixel(k, (k * (i + 3)) % side, Colour(0x010000 * (40 * i) + 0x0000FF));
        inputs.append(QStringLiteral("in%1.bmp").arg(i));
        saveAsBitmap(picture, path(inputs.last()));
    }
    inputs.insert(2, QStringLiteral("missing-a.bmp"));
    inputs.insert(5, QStringLiteral("missing-b.bmp"));
    const QStringList made{"in1.bmp", "in2.bmp", "in3.bmp", "in4.bmp", "in5.bmp", "in6.bmp"};
    for (const QString jobs : {"1", "3"}) {
        const QString folder = "j" + jobs;
        QVERIFY(QDir(path(folder + "/in0.bmp")).mkpath(QStringLiteral(".")));
        const Run result = run(QStringList{"--outline", "green", "--rotate", "90", "-j", jobs, "--out-dir", folder}
                               + inputs);
        QCOMPARE(result.status, 1);
        QCOMPARE(result.out, QString());
        QCOMPARE(result.err, QStringLiteral("in0.bmp -> %1/in0.bmp: Cannot save to a folder\n"
                                            "missing-a.bmp: no such file\n"
                                            "missing-b.bmp: no such file\n").arg(folder));
        QCOMPARE(QDir(path(folder)).entryList(QDir::Files, QDir::Name), made);
    }
    for (const QString& name : made)
        QVERIFY2(readFile("j1/" + name) == readFile("j3/" + name), qPrintable(name));
}

PELMORA_TEST_MAIN(BatchTest)
