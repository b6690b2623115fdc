// SPDX-License-Identifier: GPL-2.0-or-later
#include "about_box.h"

// Qt
#include <QFrame>
#include <QLabel>
#include <QPushButton>

// Local
#include "fonts.h"
#include "glyphs.h"
#include "screen_centring.h"

namespace pelmora {

namespace {

const QString kCaption = QStringLiteral("バージョン情報");
const QString kProductName = QStringLiteral("Pelmora");
const QString kVersion = QStringLiteral("バージョン 2.1");
const QString kCopyright = QStringLiteral("Copyright © 2026 Pelmora");
const QString kComments = QStringLiteral("シャドウイメージの作成や画像の縁取りが簡単にできるので・・・楽できますよ～");

QLabel* label(QWidget* parent, const char* name, const QString& text, QPoint at, int pixelHeight, bool bold,
              const QColor& colour) {
    auto* shown = new QLabel(text, parent);
    shown->setObjectName(QString::fromLatin1(name));
    shown->setFont(windowFont(pixelHeight, bold));
    if (colour.isValid()) {
        QPalette colours = shown->palette();
        colours.setColor(QPalette::WindowText, colour);
        shown->setPalette(colours);
    }
    shown->move(at);
    shown->adjustSize();
    return shown;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(kCaption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(273, 195);
    setFont(windowFont(12));
    setWindowIcon(programIcon());
    setModal(false);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(7, 7, 258, 148);
    // An etched groove: a lowered outer bevel around a raised inner one, on
    // the box's own face, so that the labels keep their text colours.
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel->setLineWidth(1);

    ProgramIcon = new QLabel(panel);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(7, 7, 60, 53);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(programPicture(64));

    ProductName = label(panel, "ProductName", kProductName, {81, 15}, 16, true, QColor(0, 0, 255));
    Version = label(panel, "Version", kVersion, {81, 37}, 15, true, QColor(128, 0, 0));
    Copyright = label(panel, "Copyright", kCopyright, {20, 73}, 13, false, QColor());
    Comments = label(panel, "Comments", kComments, {15, 95}, 13, false, QColor());
    Comments->setWordWrap(true);
    Comments->setFixedSize(237, 42);
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(102, 165, 69, 23);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

void TAboutBox::OKButtonClick() {
    hide();
}

void TAboutBox::showEvent(QShowEvent* event) {
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

} // namespace pelmora
