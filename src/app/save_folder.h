// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>

namespace pelmora {

// The folder "Pelmora" on the user's desktop, where saving starts.
QString saveFolder();

// The preview file "_.bmp" in the save folder.
QString previewFilePath();

// Makes the save folder when it is missing (its parent must exist); a
// failure is left for the preview file's write to report.
void makeSaveFolder();

} // namespace pelmora
