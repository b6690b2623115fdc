// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

// Local
#include "batch_test.h"
#include "save_picture.h"

// Std
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pelmora;

// The viewBox is the picture's final size, width and height the same in
// millimetres: a blank 30 x 20 gives a valid, empty document; a disc turned
// and doubled, 40 x 60 stroked in the outline colour.
void BatchTest::svgDocument() {
    Bitmap picture = Bitmap::white(30, 20);
    saveAsBitmap(picture, path(QStringLiteral("blank.bmp")));
    QPainter painter(&picture.rgb32());
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(15, 10), 6, 6);
    painter.end();
    saveAsBitmap(picture, path(QStringLiteral("disc.bmp")));
    QCOMPARE(run({"--type", "svg", "--out-dir", "out", "blank.bmp"}).err,
             QStringLiteral("blank.bmp: nothing but background: the result is empty\n"));
    QCOMPARE(run({"--outline", "navy", "--rotate", "90", "--scale", "200", "-o", "disc.svg", "disc.bmp"}).err, QString());
    const QByteArray blank = readFile(QStringLiteral("out/blank.svg")), disc = readFile(QStringLiteral("disc.svg"));
    QVERIFY(!blank.contains("<path"));
    QVERIFY2(disc.contains("fill=\"none\" stroke=\"#000080\""), disc.constData());
    for (const auto& [svg, size] : {std::pair(blank, QSize(30, 20)), std::pair(disc, QSize(40, 60))}) {
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBoxF(), QRectF(QPointF(0, 0), size));
    }
    // The BMP says 96 dots per inch: the page is as large on paper.
    QVERIFY2(blank.contains("width=\"7.94mm\" height=\"5.29mm\""), blank.constData());
}

namespace {

bool isSymLink(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

mode_t fileType(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

void makeOld(const QString& path) {
    const timespec twoHoursAgo[2] = {{::time(nullptr) - 7200, 0}, {::time(nullptr) - 7200, 0}};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), twoHoursAgo, 0) == 0);
}

} // namespace

// What already stands at an output's name: a pipe or a device gets the
// bytes and stays, a link keeps pointing at the file it updates, and no
// output may land on an input or on another output of the run.
void BatchTest::hostileOutputPaths_data() {
    QTest::addColumn<QString>("before");   // a device's name: "@" below stands for it
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");   // the line on standard error; empty: none
    QTest::newRow("pipe") << "pipe" << QStringList{"-o", "pipe.bmp", "small.bmp"} << "";
    QTest::newRow("character device") << "/dev/null" << QStringList{"-o", "@", "--type", "bmp", "small.bmp"} << "";
    QTest::newRow("link to a file") << "link" << QStringList{"-o", "link.bmp", "small.bmp"} << "";
    QTest::newRow("link onto another output")
        << "link onto output" << QStringList{"--out-dir", "out", "small.bmp", "other.bmp"}
        << "other.bmp -> out/other.bmp: would replace another output of this run";
    QTest::newRow("output folder leads to the inputs")
        << "folder link" << QStringList{"--outline", "red", "--out-dir", "here", "small.bmp"}
        << "small.bmp -> here/small.bmp: would replace an input";
    QTest::newRow("stale temporaries") << "temporaries" << QStringList{"--out-dir", "out", "small.bmp"} << "";
    QTest::newRow("a folder") << "folder" << QStringList{"-o", "folder.bmp", "small.bmp"}
                              << "small.bmp -> folder.bmp: Cannot save to a folder";
    QTest::newRow("full disk") << "/dev/full" << QStringList{"-o", "@", "--type", "bmp", "small.bmp"}
                               << "small.bmp -> @: Not enough free disk space";
}

void BatchTest::hostileOutputPaths() {
    QFETCH(QString, before);
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    const QByteArray input = readFile(QStringLiteral("small.bmp"));
    QCOMPARE(run({"-o", "plain.bmp", "small.bmp"}).status, 0);
    const QByteArray plain = readFile(QStringLiteral("plain.bmp"));
    const QByteArray old("old bytes");
    int reader = -1;
    if (before == QLatin1String("pipe")) {
        QVERIFY(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.bmp"))).constData(), 0600) == 0);
        // Open first, so that the writer's open does not wait; the picture
        // fits in the pipe.
        reader = ::open(QFile::encodeName(path(QStringLiteral("pipe.bmp"))).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
    } else if (before.startsWith(QLatin1String("/dev/"))) {
        // Run as root, a faulty program would replace the system's own
        // device; a node of the same device in the test's folder stands in.
        QString device = before;
        struct stat info {};
        if (::geteuid() == 0 && ::stat(QFile::encodeName(before).constData(), &info) == 0) {
            device = QStringLiteral("device.bmp");
            if (::mknod(QFile::encodeName(path(device)).constData(), S_IFCHR | 0666, info.st_rdev) != 0)
                QSKIP("no device can be made here");
        }
        if (::access(QFile::encodeName(path(device)).constData(), W_OK) != 0)
            QSKIP("the device cannot be written here");
        arguments.replaceInStrings(QStringLiteral("@"), device);
        error.replace(QLatin1Char('@'), device);
    } else if (before == QLatin1String("link")) {
        writeFile(QStringLiteral("target.bmp"), old);
        QVERIFY(QFile::link(QStringLiteral("target.bmp"), path(QStringLiteral("link.bmp"))));
    } else if (before == QLatin1String("link onto output")) {
        // The link leads to a name the run has not written yet.
        saveAsBitmap(Bitmap::white(5, 5), path(QStringLiteral("other.bmp")));
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("out")));
        QVERIFY(QFile::link(QStringLiteral("small.bmp"), path(QStringLiteral("out/other.bmp"))));
    } else if (before == QLatin1String("folder link")) {
        QVERIFY(QFile::link(dir_->path(), path(QStringLiteral("here"))));
    } else if (before == QLatin1String("temporaries")) {
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("out")));
        for (const char* name : {"out/.pelmora-tmp-old", "out/.pelmora-tmp-new", "out/.foreign"})
            writeFile(QString::fromLatin1(name), old);
        makeOld(path(QStringLiteral("out/.pelmora-tmp-old")));
        makeOld(path(QStringLiteral("out/.foreign")));
    } else if (before == QLatin1String("folder")) {
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("folder.bmp")));
    }

    const Run result = run(arguments);
    QCOMPARE(result.err, error.isEmpty() ? QString() : error + QLatin1Char('\n'));
    QCOMPARE(result.status, error.isEmpty() ? 0 : 1);
    QCOMPARE(readFile(QStringLiteral("small.bmp")), input);

    if (before == QLatin1String("pipe")) {
        QByteArray got(plain.size() + 1, '\0');
        const ssize_t size = ::read(reader, got.data(), size_t(got.size()));
        ::close(reader);
        QCOMPARE(got.left(qsizetype(size)), plain);
        QCOMPARE(fileType(path(QStringLiteral("pipe.bmp"))), mode_t(S_IFIFO));
    } else if (before.startsWith(QLatin1String("/dev/"))) {
        QCOMPARE(fileType(path(arguments[1])), mode_t(S_IFCHR));
    } else if (before == QLatin1String("link")) {
        QVERIFY(isSymLink(path(QStringLiteral("link.bmp"))));
        QCOMPARE(readFile(QStringLiteral("target.bmp")), plain);
    } else if (before == QLatin1String("link onto output")) {
        QCOMPARE(readFile(QStringLiteral("out/small.bmp")), plain);
        QVERIFY(isSymLink(path(QStringLiteral("out/other.bmp"))));
    } else if (before == QLatin1String("temporaries")) {
        QCOMPARE(readFile(QStringLiteral("out/small.bmp")), plain);
        QCOMPARE(QDir(path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{".foreign", ".pelmora-tmp-new", "small.bmp"}));
    } else if (before == QLatin1String("folder")) {
        QCOMPARE(fileType(path(QStringLiteral("folder.bmp"))), mode_t(S_IFDIR));
    }
}
