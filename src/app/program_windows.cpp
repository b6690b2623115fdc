// SPDX-License-Identifier: GPL-2.0-or-later
#include "program_windows.h"

// Local
#include "about_box.h"
#include "main_window.h"
#include "resize_dialog.h"

namespace pelmora {

std::unique_ptr<TPelmoraForm1> createProgramWindows(const QStringList& commandLine) {
    auto form = std::make_unique<TPelmoraForm1>();
    auto* aboutBox = new TAboutBox(form.get());
    auto* resizeDialog = new TOKBottomDlg(*form, form.get());
    form->setCompanions(aboutBox, resizeDialog);
    form->setCommandLine(commandLine);
    return form;
}

} // namespace pelmora
