// SPDX-License-Identifier: GPL-2.0-or-later
// Opening a picture: the open routine and the open command.

#include "main_window.h"

// Qt
#include <QFileInfo>
#include <QLabel>
#include <QToolButton>

// Local
#include "colour_panel.h"
#include "file_size.h"
#include "import_picture.h"
#include "opened_kind.h"
#include "pelmora_error.h"
#include "message_boxes.h"
#include "picture_file_dialog.h"
#include "window_texts.h"

// Std
#include <iterator>

namespace pelmora {

namespace {

// The preview pane shows what the file would open as, or nothing.
QImage openPreview(const QString& path) {
    const auto kind = pictureKindOf(path);
    if (!kind || !QFileInfo(path).isFile())
        return QImage();
    try {
        return importPicture(path, *kind).image();
    } catch (const PelmoraError&) {
        return QImage();
    }
}

} // namespace

void TPelmoraForm1::createOpenDialog() {
    OpenPictureDialog1 = new PictureFileDialog(
        this, std::vector<texts::FileFilter>(std::begin(texts::kOpenFilters), std::end(texts::kOpenFilters)),
        openPreview);
    OpenPictureDialog1->setObjectName(QStringLiteral("OpenPictureDialog1"));
    OpenPictureDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name is taken even when no such file exists; the open
    // routine then says so.
    OpenPictureDialog1->setFileMode(QFileDialog::AnyFile);
}

void TPelmoraForm1::ActOpenExecute() {
    if (OpenPictureDialog1->exec() != QDialog::Accepted)
        return;
    document_.CurrentFileName = OpenPictureDialog1->selectedFiles().value(0);
    OpenPictureFile(document_.CurrentFileName);
}

void TPelmoraForm1::OpenPictureFile(const QString& path) {
    const auto kind = pictureKindOf(path);
    if (!kind) {
        showRefusal(this, texts::unacceptedExtension());
        return;
    }
    // Measured first: a path that names no file is reported before anything
    // changes, and the window stays as it was.
    const qint64 size = fileSizeOnDisk(path);
    // A new picture every time: nothing of an earlier one shows through.
    document_.SourceImage = importPicture(path, *kind);
    Label1->setText(sourceKindText(*kind));

    showPicture(resetAfterOpen(document_, path));
    applyAvailability(allowsOutlineAndFill(*kind) ? AvailabilityStep::OpenPicture : AvailabilityStep::OpenJpeg);
    setAcceptDrops(false);
    const std::pair<ColourPanel*, QString> panels[] = {{Panel1, texts::kFillPanelCaption},
                                                       {Panel2, texts::kOutlinePanelCaption}};
    for (const auto& [panel, caption] : panels) {
        panel->setEnabled(true);
        panel->setText(caption);
        panel->setColour(kBlack);
        panel->setTextColour(kWhite);
    }
    if (SpoidButton->isChecked())
        setImage1Cursor(kFillEyedropperCursor);
    if (SpoidButton2->isChecked())
        setImage1Cursor(kOutlineEyedropperCursor);
    FormPaint();
    setWindowTitle(texts::fileCaption(fileNamePart(document_.CurrentFileName)));
    OpenPictureDialog1->selectFile(document_.CurrentFileName);
    Label2->setText(fileSizeText(size));
}

} // namespace pelmora
