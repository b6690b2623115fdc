// SPDX-License-Identifier: GPL-2.0-or-later
// Qt
#include <QByteArray>

// Local
#include "icon_file.h"
#include "pelmora_error.h"
#include "fuzz_application.h"

// Std
#include <cstddef>
#include <cstdint>

// libFuzzer entry point: every input must be read or refused with the
// reader's error, never crash, leak or hang. Qt's warnings about damaged
// files are dropped, so that the log shows what the fuzzer finds.

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    startOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        pelmora::decodeIcon(bytes);
    } catch (const pelmora::PelmoraError&) {
    }
    return 0;
}
