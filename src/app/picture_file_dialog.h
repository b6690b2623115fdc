// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QFileDialog>
#include <QImage>
#include <QStringList>

// Std
#include <functional>
#include <vector>

// Local
#include "window_texts.h"

class QLabel;

namespace pelmora {

// The open and save dialogs for pictures: Qt's own file dialog with a
// preview pane beside the file list. It lives for the whole run, so the
// file type chosen last stays selected.
class PictureFileDialog : public QFileDialog {
    Q_OBJECT
public:
    // preview gives the picture to show for the selected path (a null
    // image shows nothing).
    PictureFileDialog(QWidget* parent, const std::vector<texts::FileFilter>& filters,
                      std::function<QImage(const QString&)> preview);

    // A file the dialog replaces without asking first (the program's own
    // preview file); empty for none.
    void setReplaceableWithoutAsking(const QString& path) { replaceableWithoutAsking_ = path; }

    // Position of the chosen file type in the list, 0 first. In a save
    // dialog a name typed without an extension takes the chosen type's.
    int filterIndex() const;
    void selectFilterIndex(int index);

protected:
    void showEvent(QShowEvent* event) override;
    void accept() override;

private:
    void showPreview(const QString& path);
    void takeFilterSuffix();

    QStringList descriptions_;
    QStringList patterns_;
    QString replaceableWithoutAsking_;
    std::function<QImage(const QString&)> preview_;
    QLabel* previewPane_;
};

} // namespace pelmora
