// SPDX-License-Identifier: GPL-2.0-or-later
// pelmora-batch: Pelmora's shadow images from the command line.

// Qt
#include <QGuiApplication>

// Local
#include "batch_options.h"
#include "batch_runner.h"
#include "picture_kind.h"
#include "picture_memory.h"

// Std
#include <csignal>
#include <cstdio>
#include <memory>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The platform's start-up remarks (no XDG_RUNTIME_DIR under cron or in a
// container) and the image libraries' complaints about a damaged file
// would read as more problems with the user's pictures, out of order; each
// failure is reported once, as FILE: message.
void quietRemarks(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        defaultHandler(type, context, message);
}

// Metafile text needs the font database of a GUI application, whose start
// and end take longer than reading, filling and writing a 48 MB picture;
// other pictures need only the core application.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const auto kind = pelmora::pictureKindOf(QString::fromLocal8Bit(argv[i]));
        if (kind == pelmora::PictureKind::Wmf || kind == pelmora::PictureKind::Emf)
            return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv) {
    // A pipe whose reader has gone is a failed write, reported, not the end of the program.
    std::signal(SIGPIPE, SIG_IGN);
    // The tool never shows a window, so it needs no display either.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(quietRemarks);
    const auto app = makeApplication(argc, argv);
    const auto parsed = pelmora::batch::parseOptions(app->arguments().mid(1));
    if (const auto* problem = std::get_if<QString>(&parsed)) {
        std::fprintf(stderr, "pelmora-batch: %s\nTry 'pelmora-batch --help'.\n", qUtf8Printable(*problem));
        return 2;
    }
    const auto& options = std::get<pelmora::batch::Options>(parsed);
    if (options.help) {
        std::fputs(qUtf8Printable(pelmora::batch::helpText()), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("pelmora-batch " PELMORA_VERSION);
        return 0;
    }
    pelmora::useHugePages();
    return pelmora::batch::runAll(options);
}
