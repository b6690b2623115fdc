#include "batch_job.h"

// Local
#include "imagefile/open_picture.h"
#include "imagefile/save_picture.h"
#include "imageops/fill.h"
#include "imageops/outline.h"
#include "imageops/pelmora_error.h"
#include "imageops/rotate_mirror.h"
#include "imageops/stretch_copy.h"

// Std
#include <exception>
#include <new>

namespace pelmora::batch {

namespace {

QString kindName(PictureKind kind) {
    switch (kind) {
    case PictureKind::Wmf: return QStringLiteral("WMF");
    case PictureKind::Emf: return QStringLiteral("EMF");
    case PictureKind::Jpeg: return QStringLiteral("JPEG");
    case PictureKind::Icon: return QStringLiteral("ICON");
    case PictureKind::Bitmap: return QStringLiteral("BMP");
    }
    return QString();
}

// Sizes in the resize dialog's arithmetic: 32-bit, truncating.
Bitmap applyStep(const Bitmap& picture, const Step& step) {
    if (const auto* turn = std::get_if<Turn>(&step))
        return rotateOrFlipPicture(picture, turn->code);
    if (const auto* scale = std::get_if<Scale>(&step))
        return stretched(picture, int(qint64(picture.width()) * scale->percent / 100),
                         int(qint64(picture.height()) * scale->percent / 100));
    const Size& size = std::get<Size>(step);
    return stretched(picture, size.width, size.height);
}

void write(const Bitmap& picture, OutputType type, const QString& path) {
    switch (type) {
    case OutputType::Bmp: saveAsBitmap(picture, path); break;
    case OutputType::Jpeg: saveAsJpeg(picture, path); break;
    case OutputType::Icon: saveAsIcon(picture, path); break;
    }
}

JobResult work(const Options& options, const QString& input) {
    const std::optional<PictureKind> kind = pictureKindOf(input);
    if (!kind)
        return {false, oneLine(unacceptedExtensionText())};
    if (!options.info && options.shadow != Shadow::None && !allowsOutlineAndFill(*kind))
        return {false, QStringLiteral("pictures from JPEG files are never outlined or filled")};

    Bitmap picture = importPicture(input, *kind);
    if (options.info)
        return {true, QStringLiteral("%1\t%2\t%3\t%4")
                          .arg(kindName(*kind))
                          .arg(picture.width())
                          .arg(picture.height())
                          .arg(fileSizeText(fileSizeOnDisk(input)))};

    if (options.shadow == Shadow::Outline)
        picture = outlined(picture, options.shadowColour);
    else if (options.shadow == Shadow::Fill)
        picture = filled(picture, options.shadowColour);
    for (const Step& step : options.steps)
        picture = applyStep(picture, step);
    const QString output = outputPathFor(options, input);
    write(picture, typeForOutput(options, output), output);
    return {true, QString()};
}

} // namespace

QString oneLine(const QString& text) {
    return text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

JobResult runJob(const Options& options, const QString& input) {
    try {
        return work(options, input);
    } catch (const PelmoraError& e) {
        return {false, oneLine(e.text())};
    } catch (const std::bad_alloc&) {
        return {false, outOfMemoryText()};
    } catch (const std::exception& e) {
        return {false, QString::fromLocal8Bit(e.what())};
    }
}

} // namespace pelmora::batch
