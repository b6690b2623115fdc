// SPDX-License-Identifier: GPL-2.0-or-later
#include "users_language.h"

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

// Local
#include "picture_file_texts.h"

namespace pelmora::batch {

QLocale messageLocale() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty())
            // "ja_JP.UTF-8" and "ja_JP@modifier" name the locale "ja_JP".
            return QLocale(QString::fromLatin1(value).section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0));
    }
    return QLocale::c();
}

void useLanguage(const QLocale& locale) {
    texts::useReaderLanguage(locale);
    if (locale.language() == QLocale::C || locale.language() == QLocale::English)
        return;
    // Installed beside the other shared files, or, in the build tree,
    // beside the program.
    const QDir programFolder(QCoreApplication::applicationDirPath());
    static QTranslator translator;
    for (const QString& folder : {programFolder.filePath(QStringLiteral("../share/pelmora/translations")),
                                  programFolder.path()})
        if (translator.load(locale, QStringLiteral("pelmora-batch"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(&translator);
            return;
        }
}

} // namespace pelmora::batch
