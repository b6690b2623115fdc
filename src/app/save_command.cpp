// SPDX-License-Identifier: GPL-2.0-or-later
// Saving the picture on display.

#include "main_window.h"

// Qt
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QScopeGuard>

// Local
#include "file_size.h"
#include "picture_kind.h"
#include "save_folder.h"
#include "picture_file_texts.h"
#include "save_picture.h"
#include "message_boxes.h"
#include "picture_file_dialog.h"
#include "window_texts.h"

// Std
#include <algorithm>
#include <iterator>

namespace pelmora {

namespace {

// The file types of the save dialog, in its order. fits, where set, is what
// a picture must be to be saved as that type.
struct SaveType {
    texts::FileFilter filter;
    QString kindText;
    void (*write)(const Bitmap&, const QString&);
    bool (*fits)(const Bitmap&);
};

const SaveType kSaveTypes[] = {
    {texts::kBmpSaveFilter, texts::kSavedBmp, saveAsBitmap, nullptr},
    {texts::kJpegSaveFilter, texts::kSavedJpeg, saveAsJpeg, nullptr},
    {texts::kIconSaveFilter, texts::kSavedIcon, saveAsIcon, fitsIcon},
};

std::vector<texts::FileFilter> saveFilters() {
    std::vector<texts::FileFilter> filters;
    for (const SaveType& type : kSaveTypes)
        filters.push_back(type.filter);
    return filters;
}

} // namespace

void TPelmoraForm1::createSaveDialog() {
    // The preview pane shows the picture about to be saved, from memory.
    SavePictureDialog1 = new PictureFileDialog(
        this, saveFilters(),
        [this](const QString&) { return displayedPicture().image(); });
    SavePictureDialog1->setObjectName(QStringLiteral("SavePictureDialog1"));
    SavePictureDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SavePictureDialog1->setFileMode(QFileDialog::AnyFile);
    SavePictureDialog1->selectFilterIndex(0);
}

void TPelmoraForm1::ActSaveExecute() {
    makeSaveFolder();
    const QString preview = previewFilePath();
    // A "_.bmp" of the user's own is neither replaced nor removed.
    const bool ownPreview = !QFileInfo::exists(preview);
    if (ownPreview)
        saveAsBitmap(displayedPicture(), preview);
    bool savedAsPreview = false;
    const auto removePreview = qScopeGuard([&] {
        if (ownPreview && !savedAsPreview)
            QFile::remove(preview);
    });

    SavePictureDialog1->setReplaceableWithoutAsking(ownPreview ? preview : QString());
    SavePictureDialog1->selectFile(preview);
    const int typeBefore = SavePictureDialog1->filterIndex();
    if (SavePictureDialog1->exec() != QDialog::Accepted) {
        // A cancel changes nothing, the type chosen included.
        SavePictureDialog1->selectFilterIndex(typeBefore);
        return;
    }
    const QString chosen = SavePictureDialog1->selectedFiles().value(0);
    const int typeIndex = std::clamp(SavePictureDialog1->filterIndex(), 0, int(std::size(kSaveTypes)) - 1);
    const SaveType& type = kSaveTypes[typeIndex];
    const Bitmap& picture = displayedPicture();
    if (type.fits && !type.fits(picture)) {
        showRefusal(this, texts::iconSize());
        return;
    }
    // Written first: a failed write changes nothing in the window.
    type.write(picture, chosen);
    savedAsPreview = QFileInfo(chosen) == QFileInfo(preview);

    Label3->setText(type.kindText);
    document_.CurrentFileName = chosen;
    setWindowTitle(texts::fileCaption(fileNamePart(chosen)));
    OpenPictureDialog1->selectFile(chosen);
    Label4->setText(fileSizeText(fileSizeOnDisk(chosen)));
}

} // namespace pelmora
