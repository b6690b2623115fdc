// SPDX-License-Identifier: GPL-2.0-or-later
#include "resize_dialog.h"

// Qt
#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

// Local
#include "fonts.h"
#include "message_boxes.h"
#include "screen_centring.h"
#include "number_field.h"
#include "resize_texts.h"
#include "spin_arrows.h"

namespace pelmora {

namespace {

// A small picture growing out of a smaller one.
QIcon resizeIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(1, 1, 29, 29);
    painter.setPen(Qt::black);
    painter.setBrush(QColor(0, 96, 192));
    painter.drawRect(3, 17, 11, 11);
    painter.drawLine(14, 17, 26, 5);
    painter.drawLine(26, 5, 20, 5);
    painter.drawLine(26, 5, 26, 11);
    return QIcon(pixmap);
}

template <typename Widget>
Widget* placed(Widget* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QFrame* bevel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* frame = placed(new QFrame(parent), name, geometry);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return frame;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& geometry, const QFont& font) {
    auto* result = placed(new QLabel(text, parent), name, geometry);
    result->setFont(font);
    return result;
}

QGroupBox* radioGroup(QWidget* parent, const char* name, const QString& caption, const QStringList& items,
                      const QRect& geometry, QButtonGroup*& buttons) {
    auto* group = placed(new QGroupBox(caption, parent), name, geometry);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(2, 0, 0, 0);
    layout->setSpacing(0);
    buttons = new QButtonGroup(group);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], group);
        buttons->addButton(button, i);
        layout->addWidget(button);
    }
    buttons->button(0)->setChecked(true);
    return group;
}

} // namespace

TOKBottomDlg::TOKBottomDlg(PictureDisplay& display, QWidget* parent)
    : QDialog(parent)
    , display_(display) {
    buildLayout();
    // OK makes the new picture, which may not fit in memory: reported here.
    connect(OKBtn, &QPushButton::clicked, this, [this] { runReported([this] { OKBtnClick(); }); });
    connect(CancelBtn, &QPushButton::clicked, this, &TOKBottomDlg::CancelBtnClick);
    connect(modeButtons_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            RadioGroup1Click();
    });
    connect(unitButtons_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            RadioGroup2Click();
    });
    for (int n = 1; n <= 7; ++n) {
        connect(&field(n), &NumberField::changed, this, [this, n] { EditChange(n); });
        connect(&field(n), &NumberField::arrowClicked, this, [this, n] { UpDownClick(n); });
    }
    FormCreate();
}

void TOKBottomDlg::buildLayout() {
    setWindowTitle(resize_texts::caption);
    setWindowIcon(resizeIcon());
    setFixedSize(532, 232);

    bevel(this, "Bevel1", {10, 8, 200, 60});
    Bevel2 = bevel(this, "Bevel2", {224, 8, 290, 170});
    OKBtn = placed(new QPushButton(resize_texts::ok, this), "OKBtn", {230, 192, 75, 25});
    OKBtn->setDefault(true);
    CancelBtn = placed(new QPushButton(resize_texts::cancel, this), "CancelBtn", {350, 192, 75, 25});
    Label1 = label(this, "Label1", resize_texts::scaleLabel, {25, 27, 104, 15}, windowFont(15, false));
    RadioGroup1 = radioGroup(this, "RadioGroup1", resize_texts::modeGroup, resize_texts::modes,
                             {10, 80, 200, 100}, modeButtons_);
    RadioGroup2 = radioGroup(this, "RadioGroup2", resize_texts::unitGroup, resize_texts::units,
                             {240, 24, 90, 140}, unitButtons_);
    Label2 = label(this, "Label2", resize_texts::widthLabel, {352, 28, 31, 12}, windowFont(12, true));
    Label3 = label(this, "Label3", resize_texts::heightLabel, {442, 28, 33, 12}, windowFont(12, true));

    // Field n: its text box's place, and its range.
    struct Place {
        int left, top, maximum;
    };
    static constexpr std::array<Place, 7> places{{
        {135, 24, 500},
        {342, 48, 500}, {432, 48, 500},
        {342, 88, 3000}, {432, 88, 3000},
        {342, 128, 1000}, {432, 128, 1000},
    }};
    for (int n = 1; n <= 7; ++n) {
        const Place& place = places[n - 1];
        const QByteArray editName = "Edit" + QByteArray::number(n);
        const QByteArray upDownName = "UpDown" + QByteArray::number(n);
        auto* edit = placed(new QLineEdit(QStringLiteral("0"), this), editName.constData(),
                            {place.left, place.top, 50, 24});
        edit->setFont(windowFont(16, true));
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        edit->setPalette(palette);
        auto* arrows = placed(new SpinArrows(this), upDownName.constData(),
                              {place.left + 50, place.top, n == 2 ? 17 : 16, 24});
        fields_[n - 1] = new NumberField(edit, arrows, place.maximum, this);
    }

    QList<QWidget*> order{OKBtn, CancelBtn, field(1).edit(), field(1).arrows()};
    for (QAbstractButton* button : modeButtons_->buttons())
        order << button;
    for (int n = 2; n <= 7; ++n)
        order << field(n).edit();
    for (int n = 2; n <= 7; ++n)
        order << field(n).arrows();
    for (QAbstractButton* button : unitButtons_->buttons())
        order << button;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TOKBottomDlg::FormCreate() {
    ResizedImage = Bitmap();
    setMode(ResizeMode::KeepAspect);
    RadioGroup1->setEnabled(true);
    setUnit(SizeUnit::Percent);
    RadioGroup2->setEnabled(false);
    field(1).setValue(100);
    for (int n = 2; n <= 7; ++n)
        field(n).setEnabled(false, false);
    field(1).edit()->setEnabled(true);
    field(1).setText(QStringLiteral("100"));
}

void TOKBottomDlg::FormShow() {
    setMode(ResizeMode::KeepAspect);
    setUnit(SizeUnit::Percent);
    RadioGroup1->setEnabled(true);
    RadioGroup2->setEnabled(false);
    field(1).edit()->setEnabled(true);
    field(1).setText(QStringLiteral("100"));
    for (int n = 2; n <= 7; ++n)
        field(n).edit()->setEnabled(false);
    field(1).arrows()->setEnabled(true);
    field(1).setValue(100);
    for (int n = 2; n <= 7; ++n)
        field(n).arrows()->setEnabled(false);
    Label1->setEnabled(true);
    Bevel2->setEnabled(false);
    Label2->setEnabled(false);
    Label3->setEnabled(false);
}

// Opening runs only when the dialog goes from hidden to shown; a show() while
// it is shown changes nothing, and does not bring it forward.
void TOKBottomDlg::setVisible(bool visible) {
    if (visible && !isVisible()) {
        FormShow();
        centreOnScreen(*this);
    }
    QDialog::setVisible(visible);
}

void TOKBottomDlg::reject() {
    CancelBtnClick();
}

void TOKBottomDlg::CancelBtnClick() {
    hide();
}

} // namespace pelmora
