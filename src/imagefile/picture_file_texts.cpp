// SPDX-License-Identifier: GPL-2.0-or-later
#include "picture_file_texts.h"

// Qt
#include <QCoreApplication>
#include <QTranslator>

// Std
#include <memory>

namespace pelmora::texts {

namespace {

QString text(const char* english) {
    return QCoreApplication::translate("imagefile", english);
}

std::unique_ptr<QTranslator>& installed() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

// The window has always spoken Japanese, and so do its readers' texts in
// every program until it picks another language.
void useJapanese() {
    useReaderLanguage(QLocale(QLocale::Japanese, QLocale::Japan));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(useJapanese)

QString invalidBitmap() { return text(QT_TRANSLATE_NOOP("imagefile", "Invalid bitmap image")); }
QString invalidIcon() { return text(QT_TRANSLATE_NOOP("imagefile", "Invalid icon image")); }
QString jpegError(int code) { return text(QT_TRANSLATE_NOOP("imagefile", "JPEG error #%1")).arg(code); }
QString invalidImage(const QString& kind) {
    return text(QT_TRANSLATE_NOOP("imagefile", "Invalid %1 image")).arg(kind);
}

QString fileNotFound() { return text(QT_TRANSLATE_NOOP("imagefile", "File not found")); }
QString badFileName() { return text(QT_TRANSLATE_NOOP("imagefile", "The file name is not valid")); }
QString tooManyOpenFiles() { return text(QT_TRANSLATE_NOOP("imagefile", "Too many open files")); }
QString accessDenied() { return text(QT_TRANSLATE_NOOP("imagefile", "Access to the file was denied")); }
QString diskFull() { return text(QT_TRANSLATE_NOOP("imagefile", "Not enough free disk space")); }
QString folderInTheWay() { return text(QT_TRANSLATE_NOOP("imagefile", "Cannot save to a folder")); }
QString ioError(int code) { return text(QT_TRANSLATE_NOOP("imagefile", "I/O error (%1)")).arg(code); }

QString iconSize() {
    return text(QT_TRANSLATE_NOOP("imagefile", "An Icon file can hold\r\n"
                                               "\r\n"
                                               "only a picture of Icon size (32x32) pixels"));
}

void useReaderLanguage(const QLocale& locale) {
    std::unique_ptr<QTranslator>& translator = installed();
    if (translator)
        QCoreApplication::removeTranslator(translator.get());
    translator = std::make_unique<QTranslator>();
    if (translator->load(locale, QStringLiteral("pelmora-readers"), QStringLiteral("_"),
                         QStringLiteral(":/pelmora/translations")))
        QCoreApplication::installTranslator(translator.get());
    else
        translator.reset();
}

} // namespace pelmora::texts
