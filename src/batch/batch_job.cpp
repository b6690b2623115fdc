// SPDX-License-Identifier: GPL-2.0-or-later
#include "batch_job.h"

// Qt
#include <QCoreApplication>
#include <QFileInfo>
#include <QSize>
#include <QTemporaryDir>

// Local
#include "atomic_file.h"
#include "file_io.h"
#include "file_size.h"
#include "save_picture.h"
#include "connected_background.h"
#include "fill.h"
#include "outline.h"
#include "pelmora_error.h"
#include "rotate_mirror.h"
#include "bmp_row_picture.h"
#include "dxf_output.h"
#include "subject_marks.h"
#include "subject_shadow.h"
#include "input_picture.h"
#include "input_resolution.h"
#include "marked_subject.h"
#include "offset_subject.h"
#include "pdf_output.h"
#include "png_output.h"
#include "result_steps.h"
#include "shadow_rows.h"
#include "svg_output.h"
#include "traced_shape.h"
#include "webp_output.h"

// Std
#include <cmath>
#include <cstdio>
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

bool isTransparent(const Options& options, OutputType type) {
    return (type == OutputType::Png || type == OutputType::Webp) && !options.opaque;
}

// Whether the result shows what is subject: an outline, a fill, a
// transparent background or a traced shape.
bool showsSubject(const Options& options, OutputType type) {
    return options.shadow != Shadow::None || isTraced(type) || isTransparent(options, type);
}

// Whether transparency can decide what is background in this result.
bool readsTransparency(const Options& options, OutputType type) {
    return !options.backgroundCorner && !options.backgroundColour && showsSubject(options, type);
}

QString emptyResultText() {
    return QCoreApplication::translate("batch", "nothing but background: the result is empty");
}

// A pixel result from subject marks: outline and fill follow them, and a
// transparent result's alpha comes from them, soft where the input's own
// edge or the traced curves are.
void writeFromMarks(const Bitmap& picture, const QImage& marks, const QImage& alpha, OutputType type,
                    const QString& path, const Options& options, double dotsPerMeter, const Progress& progress) {
    const bool transparent = isTransparent(options, type);
    const bool smooth = transparent && options.edges == Edges::Smooth && options.shadow != Shadow::Outline;
    const QImage smoothAlpha = smooth ? smoothSubjectAlpha(marks, progress) : QImage();
    Bitmap result = picture;
    if (options.shadow == Shadow::Fill)
        result = filledSubject(std::move(result), smooth ? marksOfCover(smoothAlpha) : marks, options.shadowColour);
    else if (options.shadow == Shadow::Outline)
        result = outlinedSubject(std::move(result), marks, options.shadowColour);
    result = afterSteps(std::move(result), options);
    if (!transparent) {
        write(result, Bitmap(), type, path, options, Background{kWhite, false}, dotsPerMeter);
        return;
    }
    const QImage edgeAlpha = options.edges == Edges::Hard ? QImage() : alpha;
    const QImage resultAlpha = smooth ? smoothAlpha : subjectAlpha(marks, edgeAlpha, options.shadow == Shadow::Outline);
    saveRows(rowsWithAlpha(result, planeAfterSteps(resultAlpha, options)), type, path, dotsPerMeter);
}

// An outline or fill from BMP to BMP with nothing after it goes row by row,
// without holding the picture, where the file allows.
bool streamsShadow(const Options& options, const InputKind& kind, const QString& input, const QString& output,
                   OutputType type, QString& writing) {
    if (options.shadow == Shadow::None || options.solid || !options.steps.empty() || options.offset || needsMarks(options)
        || kind != InputKind(PictureKind::Bitmap) || type != OutputType::Bmp)
        return false;
    return saveShadowOfBitmapFile(input, output, options.shadow == Shadow::Fill ? RowShadow::Fill : RowShadow::Outline,
                                  options.shadowColour, [&] { writing = output; });
}

// Standard output gets the bytes of a finished file, so that every writer
// writes to a file as usual.
void copyToStandardOutput(const QString& path) {
    const QByteArray bytes = readFileBytes(path);
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size())
        || std::fflush(stdout) != 0)
        throw PelmoraError(QCoreApplication::translate("batch", "standard output could not be written"));
}

// Makes the result of `source` and writes it to `target`; `output` is the
// name the user gave it. Returns what standard error should hear of it.
QString makeResult(const Options& options, const InputKind& kind, const QString& source, const QString& output,
                   const QString& target, OutputType type, const Progress& progress, QString& writing) {
    if (options.withPicture && type != OutputType::Svg && type != OutputType::Pdf)
        throw PelmoraError(QCoreApplication::translate("batch", "--with-picture needs an SVG or PDF output"));
    if (streamsShadow(options, kind, source, target, type, writing))
        return QString();
    const bool transparent = isTransparent(options, type);
    const std::optional<Colour> paint =
        options.shadow == Shadow::Fill ? std::optional(options.shadowColour) : std::nullopt;
    if (transparent && options.steps.empty() && options.shadow != Shadow::Outline && !options.solid && !options.offset
        && !needsMarks(options) && kind == InputKind(PictureKind::Bitmap)) {
        // Most large pictures are 24-bit BMP files: their rows go from the file to the output.
        if (const std::optional<RowPicture> rows = filledBmpFileRows(source, paint)) {
            writing = output;
            saveRows(*rows, type, target, dotsPerMeterFor(options, source));
            return QString();
        }
    }
    Bitmap picture = readInput(source, kind);
    const double dotsPerMeter = dotsPerMeterFor(options, source);
    Background background{picture.isEmpty() ? kWhite : picture.pixel(0, 0), options.solid};
    const QImage alpha = readsTransparency(options, type) ? readInputAlpha(source, kind, picture) : QImage();
    QString notice;
    if (!alpha.isNull() || needsMarks(options)) {
        const QImage marks = subjectMarks(picture, alpha, options);
        if (!hasSubject(marks))
            notice = emptyResultText();
        if (!isTraced(type) && !options.offset) {
            writing = output;
            writeFromMarks(picture, marks, alpha, type, target, options, dotsPerMeter, progress);
            return notice;
        }
        picture = flattenedByMarks(picture, marks);
        background = Background{kWhite, false};
    } else if (showsSubject(options, type) && !picture.isEmpty()
               && !hasSubject(marksByColour(picture, picture.pixel(0, 0), 0, false))) {
        notice = emptyResultText();
    }
    if (isTraced(type)) {
        writeTraced(std::move(picture), background, type, target, options, dotsPerMeter, progress, writing);
        return notice;
    }

    const Bitmap outlinedAlready = options.offset ? offsetForPicture(picture, background, options, dotsPerMeter) : Bitmap();
    if (transparent && options.steps.empty() && options.shadow != Shadow::Outline) {
        // Each row filled as it is written: no second picture in memory.
        writing = output;
        saveRows(filledRows(picture, paint, background), type, target, dotsPerMeter);
        return notice;
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
        saveTurnedAsBitmap(result, *lastTurn, target);
    else
        write(result, plain, type, target, options, background, dotsPerMeter);
    return notice;
}

// `writing` names the output once writing it has begun, for the error.
JobResult work(const Options& options, const QString& input, const QString& source, const Progress& progress,
               QString& writing) {
    const QFileInfo file(source);
    if (!file.exists())
        return {false, QCoreApplication::translate("batch", "no such file")};
    if (file.isDir())
        return {false, QCoreApplication::translate("batch", "is a folder")};
    const std::optional<InputKind> kind = inputKindOf(source);
    if (!kind)
        return {false, unreadKindText()};
    if (!options.info && options.shadow != Shadow::None && !allowsOutlineAndFill(*kind) && !options.fuzz)
        return {false, QCoreApplication::translate(
                           "batch", "pictures from JPEG files are outlined or filled only with --fuzz (for example --fuzz 10)")};

    if (options.info) {
        const Bitmap picture = readInput(source, *kind);
        return {true,
                QStringLiteral("%1\t%2\t%3\t%4")
                    .arg(inputKindName(*kind))
                    .arg(picture.width())
                    .arg(picture.height())
                    .arg(fileSizeText(fileSizeOnDisk(source)))};
    }

    const QString output = outputPathFor(options, input);
    const OutputType type = typeForOutput(options, input);
    std::optional<QTemporaryDir> spool;
    if (isStandardStream(output))
        spool.emplace();
    const QString target = spool ? spool->filePath(QStringLiteral("result")) : output;
    const QString notice = makeResult(options, *kind, source, output, target, type, progress, writing);
    if (spool)
        copyToStandardOutput(target);
    JobResult done{true};
    done.notice = notice;
    return done;
}

} // namespace

QString oneLine(const QString& text) {
    return text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

JobResult runJob(const Options& options, const QString& input, const QString& source, const Progress& progress) {
    QString writing;
    // The picture library's own text for it is the window's, in Japanese.
    const auto outOfMemory = [] { return QCoreApplication::translate("batch", "not enough memory"); };
    try {
        return work(options, input, source, progress, writing);
    } catch (const PelmoraError& e) {
        return {false, e.text() == outOfMemoryText() ? outOfMemory() : oneLine(e.text()), writing};
    } catch (const std::bad_alloc&) {
        return {false, outOfMemory(), writing};
    } catch (const std::exception& e) {
        return {false, QString::fromLocal8Bit(e.what()), writing};
    }
}

} // namespace pelmora::batch
