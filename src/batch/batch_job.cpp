// SPDX-License-Identifier: GPL-2.0-or-later
#include "batch_job.h"

// Local
#include "atomic_file.h"
#include "file_size.h"
#include "save_picture.h"
#include "connected_background.h"
#include "fill.h"
#include "outline.h"
#include "pelmora_error.h"
#include "rotate_mirror.h"
#include "stretch_copy.h"
#include "bmp_row_picture.h"
#include "dxf_output.h"
#include "input_picture.h"
#include "input_resolution.h"
#include "offset_subject.h"
#include "pdf_output.h"
#include "png_output.h"
#include "shadow_rows.h"
#include "svg_output.h"
#include "traced_shape.h"
#include "webp_output.h"

// Qt
#include <QCoreApplication>

// Std
#include <cmath>
#include <exception>
#include <optional>
#include <new>

namespace pelmora::batch {

namespace {

using Progress = std::function<void(double)>;

Bitmap shadowed(Bitmap picture, const Options& options) {
    const Colour colour = options.shadowColour;
    switch (options.shadow) {
    case Shadow::Outline: return options.solid ? solidOutlined(picture, colour) : outlined(std::move(picture), colour);
    case Shadow::Fill: return options.solid ? solidFilled(picture, colour) : filled(std::move(picture), colour);
    case Shadow::None: break;
    }
    return picture;
}

// Sizes in the resize dialog's arithmetic: 32-bit, truncating.
Bitmap applyStep(const Bitmap& picture, const Step& step) {
    if (const auto* turn = std::get_if<Turn>(&step))
        return rotateOrFlipPicture(picture, turn->turn);
    if (const auto* scale = std::get_if<Scale>(&step))
        return stretched(picture, int(qint64(picture.width()) * scale->percent / 100),
                         int(qint64(picture.height()) * scale->percent / 100));
    const Size& size = std::get<Size>(step);
    return stretched(picture, size.width, size.height);
}

// All steps but the last leftOut.
Bitmap afterSteps(Bitmap picture, const Options& options, size_t leftOut = 0) {
    for (size_t i = 0; i + leftOut < options.steps.size(); ++i)
        picture = applyStep(picture, options.steps[i]);
    return picture;
}

// A quarter turn last before a BMP is made as the file is written, without
// a turned copy of the picture.
std::optional<TurnOrMirror> turnWhileWriting(const Options& options, OutputType type) {
    const Turn* turn = options.steps.empty() ? nullptr : std::get_if<Turn>(&options.steps.back());
    if (type != OutputType::Bmp || !turn || (turn->turn != TurnOrMirror::Turn90 && turn->turn != TurnOrMirror::Turn270))
        return std::nullopt;
    return turn->turn;
}

void saveRows(RowPicture rows, OutputType type, const QString& path, double dotsPerMeter) {
    rows.dotsPerMeter = dotsPerMeter;
    if (type == OutputType::Webp)
        saveWebp(rows, path);
    else
        savePng(rows, path);
}

// The result is the picture with its outline or fill; plain, in the same
// size, is the picture without them, where PNG and WebP find the subject.
void write(const Bitmap& result, const Bitmap& plain, OutputType type, const QString& path, const Options& options,
           const Background& background, double dotsPerMeter) {
    switch (type) {
    case OutputType::Bmp: saveAsBitmap(result, path); break;
    case OutputType::Jpeg: saveAsJpeg(result, path); break;
    case OutputType::Icon: saveAsIcon(result, path); break;
    case OutputType::Png:
    case OutputType::Webp:
        saveRows(options.opaque ? opaqueRows(result) : transparentRows(result, plain, background), type, path,
                 dotsPerMeter);
        break;
    case OutputType::Svg:
    case OutputType::Pdf:
    case OutputType::Dxf: break;
    }
}

// The resolution lengths in millimetres and physical sizes go by: --dpi,
// else the input file's own; 0 when neither says.
double dotsPerMeterFor(const Options& options, const QString& input) {
    if (options.dpi)
        return *options.dpi / kMetresPerInch;
    return recordedDotsPerMeter(input).value_or(0);
}

double offsetPixels(const Options& options, double dotsPerMeter) {
    const Length& length = *options.offset;
    if (!length.millimetres)
        return length.value;
    // Rounded to a millionth of a pixel, so that a length meant as whole
    // pixels is not a hair longer, a pixel wider, for the arithmetic.
    const double pixels = length.value / 1000 * (dotsPerMeter > 0 ? dotsPerMeter : kDefaultDotsPerInch / kMetresPerInch);
    return std::round(pixels * 1e6) / 1e6;
}

// Offsets the subject of a picture to be written as pixels: a fill, or
// nothing, goes on from the offset subject's silhouette, which becomes the
// picture; an outline is drawn at once around it and returned, the picture
// becoming the canvas it is drawn on.
Bitmap offsetForPicture(Bitmap& picture, Background& background, const Options& options, double dotsPerMeter) {
    const OffsetSubject moved = offsetSubject(picture, background, offsetPixels(options, dotsPerMeter),
                                              options.shadow == Shadow::Fill ? options.shadowColour : kBlack);
    if (options.shadow == Shadow::Outline) {
        picture = moved.canvas;
        return outlinedAtOffset(moved, options.shadowColour);
    }
    picture = moved.silhouette;
    background.solid = false;
    return Bitmap();
}

// The subject traced, over the picture with --with-picture, after any
// offset and the steps.
void writeTraced(Bitmap picture, Background background, OutputType type, const QString& path,
                 const Options& options, double dotsPerMeter, const Progress& progress, QString& writing) {
    Bitmap beneath = options.withPicture ? picture : Bitmap();
    if (options.offset) {
        const OffsetSubject moved = offsetSubject(picture, background, offsetPixels(options, dotsPerMeter), kBlack);
        picture = moved.silhouette;
        background.solid = false;
        if (options.withPicture)
            beneath = moved.canvas;
    }
    picture = afterSteps(picture, options);
    if (!beneath.isEmpty())
        beneath = afterSteps(beneath, options);
    const TracedPage page{traceSubject(picture, background, options.smoothness, progress),
                          QSize(picture.width(), picture.height()),
                          dotsPerMeter,
                          options.shadow == Shadow::None ? kBlack : options.shadowColour,
                          options.shadow == Shadow::Outline,
                          beneath};
    writing = path;
    switch (type) {
    case OutputType::Svg: writeFileAtomically(path, svgDocument(page)); break;
    case OutputType::Pdf: writeFileAtomically(path, pdfDocument(page)); break;
    default: saveDxf(page, path); break;
    }
}

// An outline or fill from BMP to BMP with nothing after it goes row by row,
// without holding the picture, where the file allows.
bool streamsShadow(const Options& options, const InputKind& kind, const QString& input, const QString& output,
                   OutputType type, QString& writing) {
    if (options.shadow == Shadow::None || options.solid || !options.steps.empty() || options.offset
        || kind != InputKind(PictureKind::Bitmap) || type != OutputType::Bmp)
        return false;
    return saveShadowOfBitmapFile(input, output, options.shadow == Shadow::Fill ? RowShadow::Fill : RowShadow::Outline,
                                  options.shadowColour, [&] { writing = output; });
}

// `writing` names the output once writing it has begun, for the error.
JobResult work(const Options& options, const QString& input, const Progress& progress, QString& writing) {
    const std::optional<InputKind> kind = inputKindOf(input);
    if (!kind)
        return {false, unreadExtensionText(), QString()};
    if (!options.info && options.shadow != Shadow::None && !allowsOutlineAndFill(*kind))
        return {false, QStringLiteral("pictures from JPEG files are never outlined or filled"), QString()};

    if (options.info) {
        const Bitmap picture = readInput(input, *kind);
        return {true,
                QStringLiteral("%1\t%2\t%3\t%4")
                    .arg(inputKindName(*kind))
                    .arg(picture.width())
                    .arg(picture.height())
                    .arg(fileSizeText(fileSizeOnDisk(input))),
                QString()};
    }

    const QString output = outputPathFor(options, input);
    const OutputType type = typeForOutput(options, output);
    if (options.withPicture && type != OutputType::Svg && type != OutputType::Pdf)
        return {false, QCoreApplication::translate("batch", "--with-picture needs an SVG or PDF output"), QString()};
    if (streamsShadow(options, *kind, input, output, type, writing))
        return {true, QString(), QString()};
    const bool transparent = (type == OutputType::Png || type == OutputType::Webp) && !options.opaque;
    const std::optional<Colour> paint =
        options.shadow == Shadow::Fill ? std::optional(options.shadowColour) : std::nullopt;
    if (transparent && options.steps.empty() && options.shadow != Shadow::Outline && !options.solid && !options.offset
        && kind == InputKind(PictureKind::Bitmap)) {
        // Most large pictures are 24-bit BMP files: their rows go from the file to the output.
        if (const std::optional<RowPicture> rows = filledBmpFileRows(input, paint)) {
            writing = output;
            saveRows(*rows, type, output, dotsPerMeterFor(options, input));
            return {true, QString(), QString()};
        }
    }
    Bitmap picture = readInput(input, *kind);
    Background background{picture.isEmpty() ? kWhite : picture.pixel(0, 0), options.solid};
    const double dotsPerMeter = dotsPerMeterFor(options, input);
    if (isTraced(type)) {
        writeTraced(std::move(picture), background, type, output, options, dotsPerMeter, progress, writing);
        return {true, QString(), QString()};
    }

    const Bitmap outlinedAlready = options.offset ? offsetForPicture(picture, background, options, dotsPerMeter) : Bitmap();
    if (transparent && options.steps.empty() && options.shadow != Shadow::Outline) {
        // Each row filled as it is written: no second picture in memory.
        writing = output;
        saveRows(filledRows(picture, paint, background), type, output, dotsPerMeter);
        return {true, QString(), QString()};
    }
    Bitmap plain;
    if (transparent)
        plain = afterSteps(picture, options);
    const std::optional<TurnOrMirror> lastTurn = turnWhileWriting(options, type);
    const size_t leftOut = lastTurn ? 1 : 0;
    Bitmap result;
    if (!outlinedAlready.isEmpty())
        result = afterSteps(outlinedAlready, options, leftOut);
    else if (transparent && options.shadow == Shadow::None)
        result = plain;
    else
        result = afterSteps(shadowed(std::move(picture), options), options, leftOut);
    writing = output;
    if (lastTurn)
        saveTurnedAsBitmap(result, *lastTurn, output);
    else
        write(result, plain, type, output, options, background, dotsPerMeter);
    return {true, QString(), QString()};
}

} // namespace

QString oneLine(const QString& text) {
    return text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

JobResult runJob(const Options& options, const QString& input, const Progress& progress) {
    QString writing;
    try {
        return work(options, input, progress, writing);
    } catch (const PelmoraError& e) {
        return {false, oneLine(e.text()), writing};
    } catch (const std::bad_alloc&) {
        return {false, outOfMemoryText(), writing};
    } catch (const std::exception& e) {
        return {false, QString::fromLocal8Bit(e.what()), writing};
    }
}

} // namespace pelmora::batch
