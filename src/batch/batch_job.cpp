// SPDX-License-Identifier: GPL-2.0-or-later
#include "batch_job.h"

// Local
#include "atomic_file.h"
#include "file_size.h"
#include "save_picture.h"
#include "connected_background.h"
#include "despeckle.h"
#include "fill.h"
#include "outline.h"
#include "pelmora_error.h"
#include "rotate_mirror.h"
#include "stretch_copy.h"
#include "subject_marks.h"
#include "subject_shadow.h"
#include "input_picture.h"
#include "png_output.h"
#include "svg_trace.h"

// Qt
#include <QCoreApplication>

// Std
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

// The result is the picture with its outline or fill; plain, in the same
// size, is the picture without them, where PNG and SVG find the subject.
void write(const Bitmap& result, const Bitmap& plain, OutputType type, const QString& path, const Options& options,
           const Background& background, const Progress& progress) {
    switch (type) {
    case OutputType::Bmp: saveAsBitmap(result, path); break;
    case OutputType::Jpeg: saveAsJpeg(result, path); break;
    case OutputType::Icon: saveAsIcon(result, path); break;
    case OutputType::Png:
        writeFileAtomically(path, options.opaque ? encodeOpaquePng(result)
                                                 : encodeTransparentPng(result, plain, background));
        break;
    case OutputType::Svg: {
        const SvgPaint paint{options.shadow == Shadow::None ? kBlack : options.shadowColour,
                             options.shadow == Shadow::Outline};
        writeFileAtomically(path, traceToSvg(plain, background, paint, progress));
        break;
    }
    }
}

// Whether the background is found by the rules beyond the corner colour's:
// a chosen colour, a tolerance, specks, smooth edges.
bool needsMarks(const Options& options) {
    return options.backgroundColour || options.fuzz || options.despeckle > 0 || options.edges == Edges::Smooth;
}

// Whether the result shows what is subject: an outline, a fill, a
// transparent background or a traced shape.
bool showsSubject(const Options& options, OutputType type) {
    return options.shadow != Shadow::None || type == OutputType::Svg || (type == OutputType::Png && !options.opaque);
}

// Whether transparency can decide what is background in this result.
bool readsTransparency(const Options& options, OutputType type) {
    return !options.backgroundCorner && !options.backgroundColour && showsSubject(options, type);
}

QString emptyResultText() {
    return QCoreApplication::translate("batch", "nothing but background: the result is empty");
}

// A plane of one byte a pixel (marks or alpha) through the same turns,
// mirrors and scales as the picture, as grey.
QImage planeAfterSteps(const QImage& plane, const Options& options) {
    if (options.steps.empty() || plane.isNull())
        return plane;
    const QImage grey(plane.constBits(), plane.width(), plane.height(), plane.bytesPerLine(),
                      QImage::Format_Grayscale8);
    return afterSteps(Bitmap(grey.convertToFormat(QImage::Format_RGB32)), options)
        .image()
        .convertToFormat(QImage::Format_Grayscale8);
}

// The result when background is by transparency (`alpha` not null) or by the
// rules of needsMarks(): marks of the picture as read decide, and a PNG's
// alpha comes from them.
JobResult writeFromMarks(const Bitmap& picture, const QImage& alpha, OutputType type, const QString& output,
                         const Options& options, const Progress& progress) {
    const Colour background = options.backgroundColour.value_or(picture.isEmpty() ? kWhite : picture.pixel(0, 0));
    QImage marks = alpha.isNull() ? marksByColour(picture, background, options.fuzz.value_or(0), options.solid)
                                  : marksByAlpha(alpha, options.alphaThreshold, options.solid);
    if (alpha.isNull() && options.fuzz.value_or(0) > 0)
        trimHalfCovered(marks, picture, background);
    despeckle(marks, options.despeckle);
    const QString notice = hasSubject(marks) ? QString() : emptyResultText();
    if (type == OutputType::Svg) {
        const SvgPaint paint{options.shadow == Shadow::None ? kBlack : options.shadowColour,
                             options.shadow == Shadow::Outline};
        writeFileAtomically(output, traceMarksToSvg(planeAfterSteps(marks, options), false, paint, progress));
        return {true, QString(), QString(), notice};
    }
    const bool transparent = type == OutputType::Png && !options.opaque;
    const bool smooth = transparent && options.edges == Edges::Smooth && options.shadow != Shadow::Outline;
    const QImage smoothAlpha = smooth ? smoothSubjectAlpha(marks, progress) : QImage();
    Bitmap result = picture;
    if (options.shadow == Shadow::Fill)
        result = filledSubject(std::move(result), smooth ? marksOfCover(smoothAlpha) : marks, options.shadowColour);
    else if (options.shadow == Shadow::Outline)
        result = outlinedSubject(std::move(result), marks, options.shadowColour);
    result = afterSteps(std::move(result), options);
    if (!transparent) {
        write(result, Bitmap(), type, output, options, Background{background, options.solid}, progress);
        return {true, QString(), QString(), notice};
    }
    const QImage edgeAlpha = options.edges == Edges::Hard ? QImage() : alpha;
    const QImage resultAlpha =
        smooth ? smoothAlpha : subjectAlpha(marks, edgeAlpha, options.shadow == Shadow::Outline);
    writeFileAtomically(output, encodeTransparentPng(result, Bitmap(), Background{background, options.solid},
                                                     planeAfterSteps(resultAlpha, options)));
    return {true, QString(), QString(), notice};
}

// An outline or fill from BMP to BMP with nothing after it goes row by row,
// without holding the picture, where the file allows.
bool streamsShadow(const Options& options, const InputKind& kind, const QString& input, const QString& output,
                   OutputType type, QString& writing) {
    if (options.shadow == Shadow::None || options.solid || !options.steps.empty() || needsMarks(options)
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
    if (!options.info && options.shadow != Shadow::None && !allowsOutlineAndFill(*kind) && !options.fuzz)
        return {false,
                QCoreApplication::translate(
                    "batch", "pictures from JPEG files are outlined or filled only with --fuzz (for example --fuzz 10)"),
                QString()};

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
    if (streamsShadow(options, *kind, input, output, type, writing))
        return {true, QString(), QString()};
    Bitmap picture = readInput(input, *kind);
    const QImage alpha = readsTransparency(options, type) ? readInputAlpha(input, *kind, picture) : QImage();
    if (!alpha.isNull() || needsMarks(options)) {
        writing = output;
        return writeFromMarks(picture, alpha, type, output, options, progress);
    }
    const QString notice = showsSubject(options, type) && !picture.isEmpty()
                                   && !hasSubject(marksByColour(picture, picture.pixel(0, 0), 0, false))
                               ? emptyResultText()
                               : QString();
    const Background background{picture.isEmpty() ? kWhite : picture.pixel(0, 0), options.solid};
    const bool needsPlain = type == OutputType::Svg || (type == OutputType::Png && !options.opaque);
    Bitmap plain;
    if (needsPlain)
        plain = afterSteps(picture, options);
    const std::optional<TurnOrMirror> lastTurn = turnWhileWriting(options, type);
    Bitmap result;
    if (type != OutputType::Svg)
        result = needsPlain && options.shadow == Shadow::None
                     ? plain
                     : afterSteps(shadowed(std::move(picture), options), options, lastTurn ? 1 : 0);
    writing = output;
    if (lastTurn)
        saveTurnedAsBitmap(result, *lastTurn, output);
    else
        write(result, plain, type, output, options, background, progress);
    return {true, QString(), QString(), notice};
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
