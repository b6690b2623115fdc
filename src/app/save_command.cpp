// SPDX-License-Identifier: GPL-2.0-or-later
// Saving the picture on display.

#include "main_window.h"

// Qt
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QScopeGuard>

// Local
#include "open_picture.h"
#include "save_picture.h"
#include "message_boxes.h"
#include "picture_file_dialog.h"
#include "window_texts.h"

// Std
#include <algorithm>
#include <iterator>

namespace pelmora {

namespace {

// The file types of the save dialog, in its order.
struct SaveType {
    QString kindText;
    void (*write)(const Bitmap&, const QString&);
};

const SaveType kSaveTypes[] = {
    {texts::kSavedKindTexts[0], saveAsBitmap},
    {texts::kSavedKindTexts[1], saveAsJpeg},
    {texts::kSavedKindTexts[2], saveAsIcon},
};
constexpr int kIconType = 2;
constexpr int kIconSide = 32;

} // namespace

void TPelmoraForm1::createSaveDialog() {
    // The preview pane shows the picture about to be saved, from memory.
    SavePictureDialog1 = new PictureFileDialog(
        this, std::vector<texts::FileFilter>(std::begin(texts::kSaveFilters), std::end(texts::kSaveFilters)),
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
    if (typeIndex == kIconType && (picture.width() != kIconSide || picture.height() != kIconSide)) {
        showRefusal(this, iconSizeText());
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
