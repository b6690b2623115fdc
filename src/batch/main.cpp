// SPDX-License-Identifier: GPL-2.0-or-later
// pelmora-batch: Pelmora's shadow images from the command line.

// Qt
#include <QGuiApplication>

// Local
#include "batch_options.h"
#include "batch_runner.h"
#include "input_picture.h"
#include "library_noise.h"
#include "picture_memory.h"
#include "users_language.h"

// Std
#include <csignal>
#include <cstdio>
#include <memory>

namespace {

// Metafile text needs the font database of a GUI application, whose start
// and end take longer than reading, filling and writing a 48 MB picture;
// other pictures need only the core application.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        const auto kind = pelmora::batch::inputKindOf(argument);
        // Standard input is not known yet, and may be a metafile.
        if (pelmora::batch::isStandardStream(argument) || kind == pelmora::batch::InputKind(pelmora::PictureKind::Wmf)
            || kind == pelmora::batch::InputKind(pelmora::PictureKind::Emf))
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
    std::FILE* const messages = pelmora::batch::catchLibraryNoise();
    const auto app = makeApplication(argc, argv);
    pelmora::batch::useLanguage(pelmora::batch::messageLocale());
    const auto parsed = pelmora::batch::parseOptions(app->arguments().mid(1));
    if (const auto* problem = std::get_if<QString>(&parsed)) {
        std::fprintf(messages, "pelmora-batch: %s\n%s\n", qUtf8Printable(*problem),
                     qUtf8Printable(QCoreApplication::translate("batch", "Try 'pelmora-batch --help'.")));
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
    return pelmora::batch::runAll(options, messages);
}
