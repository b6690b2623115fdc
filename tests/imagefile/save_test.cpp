// Qt
#include <QTest>

// Local
#include "imagefile/open_picture.h"
#include "imagefile/save_picture.h"
#include "imageops/pelmora_error.h"
#include "test_runners.h"
#include "test_support.h"

// Std
#include <cerrno>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace pelmora;
using namespace pelmora::test;

// Writing files all or nothing, measuring them, and the I/O error texts.
class SaveTest : public QObject {
    Q_OBJECT

private slots:
    void failedWriteLeavesTheOldFile_data();
    void failedWriteLeavesTheOldFile();
    void fullDiskLeavesTheOldFile_data();
    void fullDiskLeavesTheOldFile();
    void writeReplacesAnExistingFile();
    void readOnlyFileIsMeasuredAndKeepsItsRights();
    void measuringFailuresGiveTheIoTexts_data();
    void measuringFailuresGiveTheIoTexts();
};

using Writer = std::function<void(const Bitmap&, const QString&)>;
Q_DECLARE_METATYPE(Writer)

namespace {

const QByteArray kOldContent("the old file, which must survive");

QString errorOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const PelmoraError& e) {
        return e.text();
    }
    return QString();
}

Bitmap iconSizedPicture() {
    return Bitmap(patternImage(32, 32));
}

// Files may grow only to `bytes` while it lives; a larger write fails with
// EFBIG as on a full disk, instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_ {};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace

void SaveTest::failedWriteLeavesTheOldFile_data() {
    QTest::addColumn<QString>("target");   // inside the test folder, which holds "old.bin"
    QTest::addColumn<QString>("text");
    QTest::newRow("a folder in the way") << "folder" << "ファイルへのアクセスが拒否されました";
    QTest::newRow("missing folder") << "nowhere/x.bmp" << "ファイルが見つかりません";
    QTest::newRow("a file as folder") << "old.bin/x.bmp" << "ファイル名の指定が間違っています";
    QTest::newRow("name too long") << QString(300, QLatin1Char('n')) + ".bmp" << "ファイル名の指定が間違っています";
}

void SaveTest::failedWriteLeavesTheOldFile() {
    QFETCH(QString, target);
    QFETCH(QString, text);
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("old.bin")), kOldContent));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const QString path = dir.filePath(target);
    QCOMPARE(errorOf([&] { saveAsBitmap(Bitmap(patternImage(8, 8)), path); }), text);
    QCOMPARE(fileBytes(dir.filePath(QStringLiteral("old.bin"))), kOldContent);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
    // No temporary file is left behind either.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 2);
}

void SaveTest::fullDiskLeavesTheOldFile_data() {
    QTest::addColumn<Writer>("writer");
    QTest::newRow("bitmap") << Writer(saveAsBitmap);
    QTest::newRow("jpeg") << Writer(saveAsJpeg);
    QTest::newRow("icon") << Writer(saveAsIcon);
}

void SaveTest::fullDiskLeavesTheOldFile() {
    QFETCH(Writer, writer);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture"));
    QVERIFY(writeBytes(path, kOldContent));
    QString text;
    {
        const FileSizeLimit limit(100);
        text = errorOf([&] { writer(iconSizedPicture(), path); });
    }
    QCOMPARE(text, QStringLiteral("I/O エラー (%1)").arg(EFBIG));
    QCOMPARE(fileBytes(path), kOldContent);
}

void SaveTest::writeReplacesAnExistingFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.bmp"));
    QVERIFY(writeBytes(path, kOldContent));
    const QByteArray name = QFile::encodeName(path);
    QCOMPARE(::chmod(name.constData(), 0640), 0);
    const Bitmap picture(patternImage(8, 8));
    saveAsBitmap(picture, path);
    QVERIFY(importPicture(path, PictureKind::Bitmap) == picture);
    struct stat info {};
    QCOMPARE(::stat(name.constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, mode_t(0640));
}

void SaveTest::readOnlyFileIsMeasuredAndKeepsItsRights() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("locked.bmp"));
    QVERIFY(writeBytes(path, QByteArray(1280, 'x')));
    const QByteArray name = QFile::encodeName(path);
    QCOMPARE(::chmod(name.constData(), 0444), 0);
    struct stat before {};
    QCOMPARE(::stat(name.constData(), &before), 0);

    QCOMPARE(fileSizeOnDisk(path), qint64(1280));
    QCOMPARE(fileSizeText(fileSizeOnDisk(path)), QStringLiteral("1.3 KB"));

    struct stat after {};
    QCOMPARE(::stat(name.constData(), &after), 0);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    QCOMPARE(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
}

void SaveTest::measuringFailuresGiveTheIoTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("missing") << "missing.bmp" << "ファイルが見つかりません";
    QTest::newRow("a folder") << "folder.bmp" << "ファイルへのアクセスが拒否されました";
    QTest::newRow("through a file") << "file.bmp/x.bmp" << "ファイル名の指定が間違っています";
}

void SaveTest::measuringFailuresGiveTheIoTexts() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.bmp")));
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("file.bmp")), "x"));
    const QString path = dir.filePath(name);
    QCOMPARE(errorOf([&] { fileSizeOnDisk(path); }), text);
    QCOMPARE(errorOf([&] { importPicture(path, PictureKind::Bitmap); }), text);
}




int runSaveTests(int argc, char** argv) {
    SaveTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "save_test.moc"
