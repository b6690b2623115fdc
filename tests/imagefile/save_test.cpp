// Qt
#include <QTest>

// Local
#include "imagefile/open_picture.h"
#include "imagefile/save_picture.h"
#include "test_support.h"

// Std
#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace pelmora;
using namespace pelmora::test;

using Writer = void (*)(const Bitmap&, const QString&);
Q_DECLARE_METATYPE(Writer)

namespace {

const QByteArray kOldContent("the old file, which must survive");

} // namespace

// Writing files all or nothing, measuring them, and the I/O error texts.
class SaveTest : public QObject {
    Q_OBJECT

private slots:
    // A full disk is a limit on file sizes, with SIGXFSZ ignored so that the
    // write fails with EFBIG.
    void failedWriteLeavesTheOldFile_data() {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<QString>("target");   // inside a folder holding "old.bin" and "folder"
        QTest::addColumn<rlim_t>("sizeLimit");   // 0: none
        QTest::addColumn<QString>("text");
        const QString efbig = QStringLiteral("I/O エラー (%1)").arg(EFBIG);
        QTest::newRow("a folder in the way") << Writer(saveAsBitmap) << "folder" << rlim_t(0)
                                             << "ファイルへのアクセスが拒否されました";
        QTest::newRow("missing folder") << Writer(saveAsBitmap) << "nowhere/x.bmp" << rlim_t(0)
                                        << "ファイルが見つかりません";
        QTest::newRow("a file as folder") << Writer(saveAsBitmap) << "old.bin/x.bmp" << rlim_t(0)
                                          << "ファイル名の指定が間違っています";
        QTest::newRow("name too long") << Writer(saveAsBitmap) << QString(300, QLatin1Char('n')) << rlim_t(0)
                                       << "ファイル名の指定が間違っています";
        QTest::newRow("full disk, bitmap") << Writer(saveAsBitmap) << "old.bin" << rlim_t(100) << efbig;
        QTest::newRow("full disk, jpeg") << Writer(saveAsJpeg) << "old.bin" << rlim_t(100) << efbig;
        QTest::newRow("full disk, icon") << Writer(saveAsIcon) << "old.bin" << rlim_t(100) << efbig;
    }
    void failedWriteLeavesTheOldFile() {
        QFETCH(Writer, writer);
        QFETCH(QString, target);
        QFETCH(rlim_t, sizeLimit);
        QFETCH(QString, text);
        QTemporaryDir dir;
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("old.bin")), kOldContent));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        rlimit saved {};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit = saved;
        if (sizeLimit > 0)
            limit.rlim_cur = sizeLimit;
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        const QString error = errorOf([&] { writer(Bitmap(patternImage(32, 32)), dir.filePath(target)); });
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
        QCOMPARE(error, text);
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("old.bin"))), kOldContent);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
        // No temporary file is left behind either.
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 2);
    }

    void writeReplacesAnExistingFileKeepingItsRights() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture.bmp"));
        QVERIFY(writeBytes(path, kOldContent));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const Bitmap picture(patternImage(8, 8));
        saveAsBitmap(picture, path);
        QVERIFY(importPicture(path, PictureKind::Bitmap) == picture);
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0640));
    }

    void readOnlyFileIsMeasuredAndKeepsItsRights() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("locked.bmp"));
        QVERIFY(writeBytes(path, QByteArray(1280, 'x')));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        struct stat before {}, after {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &before), 0);
        QCOMPARE(fileSizeOnDisk(path), qint64(1280));
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
        QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        QCOMPARE(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
    }

    void measuringFailuresGiveTheIoTexts() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.bmp")));
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("file.bmp")), "x"));
        for (const auto& [name, text] : {std::pair{"missing.bmp", "ファイルが見つかりません"},
                                         std::pair{"folder.bmp", "ファイルへのアクセスが拒否されました"},
                                         std::pair{"file.bmp/x.bmp", "ファイル名の指定が間違っています"}}) {
            const QString path = dir.filePath(QString::fromUtf8(name));
            QCOMPARE(errorOf([&] { fileSizeOnDisk(path); }), QString::fromUtf8(text));
            QCOMPARE(errorOf([&] { importPicture(path, PictureKind::Bitmap); }), QString::fromUtf8(text));
        }
    }
};

PELMORA_TEST_GROUP(SaveTest)

#include "save_test.moc"
