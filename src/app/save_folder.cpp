// SPDX-License-Identifier: GPL-2.0-or-later
#include "save_folder.h"

// Qt
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pelmora {

QString saveFolder() {
    // Many Linux homes have no desktop folder; the home folder stands in
    // rather than every save failing.
    QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!QFileInfo(desktop).isDir())
        desktop = QDir::homePath();
    return desktop + QStringLiteral("/Pelmora");
}

QString previewFilePath() {
    return saveFolder() + QStringLiteral("/_.bmp");
}

void makeSaveFolder() {
    // Only the last level; it normally exists already, which is no failure.
    QDir().mkdir(saveFolder());
}

} // namespace pelmora
