#include "metafile.h"

// Local
#include "imageops/pelmora_error.h"

namespace pelmora {

Bitmap importMetafile(const QByteArray&) {
    throw PelmoraError(QStringLiteral("メタファイルが不正です"));
}

} // namespace pelmora
