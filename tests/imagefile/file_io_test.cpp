// SPDX-License-Identifier: GPL-2.0-or-later
// Local
#include "atomic_file.h"
#include "file_size.h"
#include "import_picture.h"
#include "save_picture.h"
#include "test_support.h"

// Std
#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

using namespace pelmora;
using namespace pelmora::test;

using Kind = std::optional<PictureKind>;
using Writer = void (*)(const Bitmap&, const QString&);
Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Writer)

namespace {

const QByteArray kOldContent("the old file, which must survive");

struct stat statOf(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info;
}

// The data syncs asked for since the list was last cleared: which file, and
// whether the watched name already led to it then.
struct DataSync {
    ino_t file;
    bool alreadyNamed;
};
std::vector<DataSync> dataSyncs;
QByteArray watchedName;

} // namespace

// Defined in the test program, this is the fdatasync the program's own
// calls reach: it notes each sync, then makes it.
extern "C" int fdatasync(int fd) {
    struct stat file {}, named {};
    ::fstat(fd, &file);
    const bool alreadyNamed = ::stat(watchedName.constData(), &named) == 0 && named.st_dev == file.st_dev
                           && named.st_ino == file.st_ino;
    dataSyncs.push_back({file.st_ino, alreadyNamed});
    return int(::syscall(SYS_fdatasync, fd));
}

// The extension rule, the caption's file name and the size text; writing
// files all or nothing, measuring and reading them, and the I/O error texts.
class FileIoTest : public QObject {
    Q_OBJECT

private slots:
    void extensionDecidesTheKind_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("name");
        const Kind jpeg = PictureKind::Jpeg, no;
        QTest::newRow("capitals") << "PHOTO.JPG" << jpeg << "PHOTO.JPG";
        QTest::newRow("two dots") << "a.b.jpeg" << jpeg << "a.b.jpeg";
        QTest::newRow("posix folder") << "/home/u/cat.BMP" << Kind(PictureKind::Bitmap) << "cat.BMP";
        QTest::newRow("windows folder") << "C:\\x\\y.Ico" << Kind(PictureKind::Icon) << "y.Ico";
        QTest::newRow("drive only") << "d:pic.WMF" << Kind(PictureKind::Wmf) << "pic.WMF";
        QTest::newRow("emf") << "x.emf" << Kind(PictureKind::Emf) << "x.emf";
        QTest::newRow("jpe") << "photo.jpe" << no << "photo.jpe";
        QTest::newRow("dot in folder, backslash") << "C:\\pics.old\\photo" << no << "photo";
        QTest::newRow("dot in folder, slash") << "/pics.bmp/photo" << no << "photo";
        QTest::newRow("dot before drive colon") << "a.bmp:photo" << no << "photo";
    }
    void extensionDecidesTheKind() {
        QFETCH(QString, path);
        QFETCH(Kind, kind);
        QFETCH(QString, name);
        QCOMPARE(pictureKindOf(path), kind);
        QCOMPARE(fileNamePart(path), name);
    }

    void sizeText_data() {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty file") << qint64(0) << " byt";
        QTest::newRow("1023") << qint64(1023) << "1,023 byt";
        QTest::newRow("1024") << qint64(1024) << "1 KB";
        QTest::newRow("1280") << qint64(1280) << "1.3 KB";
        QTest::newRow("fraction rounds to nothing") << qint64(1075) << "1 KB";
        QTest::newRow("rounds up into the next whole") << qint64(2047) << "2 KB";
        QTest::newRow("1048575") << qint64(1048575) << "1,024 KB";
        QTest::newRow("1048576") << qint64(1048576) << "1 MB";
        QTest::newRow("half up in MB") << qint64(1179648) << "1.13 MB";
        QTest::newRow("1 GB") << qint64(1073741824) << "1 GB";
        QTest::newRow("4.5 GiB") << qint64(4831838208) << "4.5 GB";
        QTest::newRow("3 TiB") << (qint64(3) << 40) << "3,072 GB";
    }
    void sizeText() {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(fileSizeText(bytes), text);
    }

    // A full disk is a limit on file sizes, with SIGXFSZ ignored so that the
    // write fails with EFBIG. Measuring and reading a bad path give the reading texts.
    void failedWriteLeavesTheOldFile_data() {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<QString>("target");   // inside a folder holding "old.bin" and "folder"
        QTest::addColumn<rlim_t>("sizeLimit");   // 0: none
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("readText");   // measuring and reading it, when there is no size limit
        const QString efbig = QStringLiteral("I/O エラー (%1)").arg(EFBIG);
        const QString badName = QStringLiteral("ファイル名の指定が間違っています");
        const QString missing = QStringLiteral("ファイルが見つかりません");
        QTest::newRow("a folder in the way") << Writer(saveAsBitmap) << "folder" << rlim_t(0)
                                             << "フォルダには保存できません"
                                             << "ファイルへのアクセスが拒否されました";
        QTest::newRow("missing folder") << Writer(saveAsBitmap) << "nowhere/x.bmp" << rlim_t(0) << missing << missing;
        QTest::newRow("a file as folder") << Writer(saveAsBitmap) << "old.bin/x.bmp" << rlim_t(0) << badName << badName;
        QTest::newRow("name too long") << Writer(saveAsBitmap) << QString(300, QLatin1Char('n')) << rlim_t(0)
                                       << badName << badName;
        QTest::newRow("full disk, bitmap") << Writer(saveAsBitmap) << "old.bin" << rlim_t(100) << efbig << "";
        QTest::newRow("full disk, new name") << Writer(saveAsBitmap) << "new.bmp" << rlim_t(100) << efbig << "";
        QTest::newRow("full disk, jpeg") << Writer(saveAsJpeg) << "old.bin" << rlim_t(100) << efbig << "";
    }
    void failedWriteLeavesTheOldFile() {
        QFETCH(Writer, writer);
        QFETCH(QString, target);
        QFETCH(rlim_t, sizeLimit);
        QFETCH(QString, text);
        QFETCH(QString, readText);
        QTemporaryDir dir;
        QFile old(dir.filePath(QStringLiteral("old.bin")));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(kOldContent) == kOldContent.size());
        old.close();
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        rlimit saved {};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limit {sizeLimit > 0 ? sizeLimit : saved.rlim_cur, saved.rlim_max};
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        const QString error = errorOf([&] { writer(Bitmap(patternImage(32, 32)), dir.filePath(target)); });
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
        QCOMPARE(error, text);
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("old.bin"))), kOldContent);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
        // No temporary file is left behind either, and a new name is not made.
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 2);
        if (sizeLimit == 0) {
            QCOMPARE(errorOf([&] { fileSizeOnDisk(dir.filePath(target)); }), readText);
            QCOMPARE(errorOf([&] { importPicture(dir.filePath(target), PictureKind::Bitmap); }), readText);
        }
    }

    // Replacing a file waits for the new bytes to reach the disk before they
    // take its name, since the old ones go with it; a new name has nothing
    // to lose and is not synced.
    void onlyReplacingSyncs_data() {
        QTest::addColumn<QString>("before");   // at the name before writing: nothing, a file, or a link to one
        QTest::addColumn<int>("syncs");
        QTest::newRow("a new name") << "nothing" << 0;
        QTest::newRow("an existing file") << "file" << 1;
        QTest::newRow("a link to an existing file") << "link" << 1;
    }
    void onlyReplacingSyncs() {
        QFETCH(QString, before);
        QFETCH(int, syncs);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture.bmp"));
        const QString target = before == QLatin1String("link") ? dir.filePath(QStringLiteral("target.bmp")) : path;
        if (before != QLatin1String("nothing")) {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write(kOldContent) == kOldContent.size());
        }
        if (before == QLatin1String("link"))
            QVERIFY(QFile::link(target, path));
        watchedName = QFile::encodeName(target);
        dataSyncs.clear();
        const QByteArray bytes("the new bytes");
        writeFileAtomically(path, bytes);
        QCOMPARE(fileBytes(target), bytes);
        QCOMPARE(int(dataSyncs.size()), syncs);
        for (const DataSync& sync : dataSyncs) {
            QCOMPARE(sync.file, statOf(target).st_ino);
            QVERIFY(!sync.alreadyNamed);
        }
    }

    // A file cut short, on disk or while it is read, is refused whole.
    void shortFilesAreRefused() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("short.bmp"));
        saveAsBitmap(Bitmap(patternImage(40, 30)), path);
        const qint64 size = QFileInfo(path).size();
        for (const qint64 cut : {qint64(20), qint64(60), size / 2, size - 1}) {
            QVERIFY(QFile::resize(path, cut));
            QCOMPARE(errorOf([&] { importPicture(path, PictureKind::Bitmap); }),
                     QStringLiteral("ビットマップイメージが不正です"));
        }
    }

    // A replaced file keeps its rights; a read-only one is measured untouched.
    void rightsAndTimesSurviveWritingAndMeasuring() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture.bmp"));
        const Bitmap picture(patternImage(8, 8));
        saveAsBitmap(Bitmap::white(4, 4), path);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        saveAsBitmap(picture, path);
        QVERIFY(importPicture(path, PictureKind::Bitmap) == picture);
        QCOMPARE(statOf(path).st_mode & 0777, mode_t(0640));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const struct stat before = statOf(path);
        QCOMPARE(fileSizeOnDisk(path), qint64(before.st_size));
        // Any change to the file, its contents or its rights, moves its ctime.
        const struct stat after = statOf(path);
        QVERIFY(after.st_ctim.tv_sec == before.st_ctim.tv_sec && after.st_ctim.tv_nsec == before.st_ctim.tv_nsec);
    }
};

PELMORA_TEST_GROUP(FileIoTest)

#include "file_io_test.moc"
