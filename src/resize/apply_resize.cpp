// SPDX-License-Identifier: GPL-2.0-or-later
#include "apply_resize.h"

// Local
#include "stretch_copy.h"
#include "number_field.h"
#include "picture_display.h"
#include "resize_dialog.h"
#include "size_conversion.h"

namespace pelmora {

QSize resizeTarget(ResizeMode mode, QSize picture, int scale, int widthPercent, int heightPercent) {
    switch (mode) {
    case ResizeMode::KeepAspect:
        return {pixelsFromPercent(scale, picture.width()), pixelsFromPercent(scale, picture.height())};
    case ResizeMode::Separate:
        return {pixelsFromPercent(widthPercent, picture.width()), pixelsFromPercent(heightPercent, picture.height())};
    case ResizeMode::Postcard:
        return postcardSize;
    case ResizeMode::Icon:
        break;
    }
    return iconSize;
}

// A picture too large for memory throws from the stretch before anything
// changes: the display keeps its picture and the dialog stays shown.
void TOKBottomDlg::OKBtnClick() {
    const Bitmap& picture = display_.displayedPicture();
    const QSize target = resizeTarget(mode(), QSize(picture.width(), picture.height()),
                                      field(1).value(), field(2).value(), field(3).value());
    ResizedImage = stretched(picture, target.width(), target.height());
    display_.showPicture(ResizedImage);
    hide();
}

} // namespace pelmora
