// pelmora-batch: Pelmora's shadow images from the command line.

// Qt
#include <QCoreApplication>

// Local
#include "batch_options.h"
#include "batch_runner.h"

// Std
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const auto parsed = pelmora::batch::parseOptions(app.arguments().mid(1));
    if (const auto* problem = std::get_if<QString>(&parsed)) {
        std::fprintf(stderr, "pelmora-batch: %s\nTry 'pelmora-batch --help'.\n", qUtf8Printable(*problem));
        return 2;
    }
    const auto& options = std::get<pelmora::batch::Options>(parsed);
    if (options.help) {
        std::fputs(qUtf8Printable(pelmora::batch::helpText()), stdout);
        return 0;
    }
    return pelmora::batch::runAll(options);
}
