// Qt
#include <QStringList>

// Local
#include "main_window.h"
#include "pelmora_application.h"
#include "program_windows.h"

int main(int argc, char** argv) {
    pelmora::PelmoraApplication application(argc, argv);
    const auto form = pelmora::createProgramWindows(application.arguments().mid(1));
    form->show();
    return application.exec();
}
