// SPDX-License-Identifier: GPL-2.0-or-later
#include "picture_file_dialog.h"

// Qt
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

namespace pelmora {

namespace {

constexpr int kPreviewSize = 180;

} // namespace

PictureFileDialog::PictureFileDialog(QWidget* parent, const std::vector<texts::FileFilter>& filters,
                                     std::function<QImage(const QString&)> preview)
    : QFileDialog(parent), preview_(std::move(preview)), previewPane_(new QLabel(this)) {
    setOption(QFileDialog::DontUseNativeDialog);
    QStringList qtFilters;
    for (const texts::FileFilter& filter : filters) {
        descriptions_ << filter.description;
        patterns_ << filter.patterns;
        qtFilters << filter.description.section(QLatin1Char('('), 0, 0) + QLatin1Char('(') + filter.patterns +
                         QLatin1Char(')');
    }
    setNameFilters(qtFilters);
    // Qt reads patterns separated by spaces only; the list shows the
    // descriptions with their ";" as written.
    if (auto* types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        for (int i = 0; i < types->count() && i < descriptions_.size(); ++i)
            types->setItemText(i, descriptions_.at(i));
    }

    previewPane_->setObjectName(QStringLiteral("previewPane"));
    previewPane_->setFixedSize(kPreviewSize, kPreviewSize);
    previewPane_->setAlignment(Qt::AlignCenter);
    previewPane_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(previewPane_, 0, grid->columnCount(), grid->rowCount(), 1, Qt::AlignTop);
    connect(this, &QFileDialog::currentChanged, this, &PictureFileDialog::showPreview);
    connect(this, &QFileDialog::filterSelected, this, &PictureFileDialog::takeFilterSuffix);
}

void PictureFileDialog::showEvent(QShowEvent* event) {
    showPreview(selectedFiles().value(0));
    QFileDialog::showEvent(event);
}

void PictureFileDialog::accept() {
    const QString chosen = selectedFiles().value(0);
    const bool own = !replaceableWithoutAsking_.isEmpty() && QFileInfo(chosen) == QFileInfo(replaceableWithoutAsking_);
    setOption(QFileDialog::DontConfirmOverwrite, own);
    QFileDialog::accept();
    setOption(QFileDialog::DontConfirmOverwrite, false);
}

int PictureFileDialog::filterIndex() const {
    return descriptions_.indexOf(selectedNameFilter());
}

void PictureFileDialog::selectFilterIndex(int index) {
    selectNameFilter(descriptions_.value(index));
    takeFilterSuffix();
}

// Set at once, so that the name typed in this run gets it: "shadow" saved as
// JPEG must not become a "shadow.bmp" that the BMP reader then refuses.
void PictureFileDialog::takeFilterSuffix() {
    if (acceptMode() == QFileDialog::AcceptSave)
        setDefaultSuffix(QFileInfo(patterns_.value(filterIndex()).section(QLatin1Char(' '), 0, 0)).suffix());
}

void PictureFileDialog::showPreview(const QString& path) {
    const QImage picture = preview_(path);
    if (picture.isNull()) {
        previewPane_->clear();
        return;
    }
    const QSize shown = picture.size().boundedTo(QSize(kPreviewSize - 4, kPreviewSize - 4));
    previewPane_->setPixmap(QPixmap::fromImage(
        picture.scaled(shown, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

} // namespace pelmora
