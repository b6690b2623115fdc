// SPDX-License-Identifier: GPL-2.0-or-later
#include "batch_options.h"

// Qt
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSize>

// Local
#include "input_picture.h"
#include "rotate_mirror.h"

namespace pelmora::batch {

namespace {

// Walks the arguments; accepts both "--name value" and "--name=value".
class ArgumentWalk {
public:
    explicit ArgumentWalk(const QStringList& arguments) : arguments_(arguments) {}

    bool done() const { return at_ >= arguments_.size(); }

    // The next argument's name, with any "=value" kept aside for value().
    QString next() {
        QString argument = arguments_[at_++];
        pending_.reset();
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (argument.startsWith(QLatin1String("--")) && equals > 0) {
            pending_ = argument.mid(equals + 1);
            argument.truncate(equals);
        }
        return argument;
    }

    std::optional<QString> value() {
        if (pending_)
            return std::exchange(pending_, std::nullopt);
        if (done())
            return std::nullopt;
        return arguments_[at_++];
    }

private:
    const QStringList& arguments_;
    qsizetype at_ = 0;
    std::optional<QString> pending_;
};

std::optional<int> positive(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n > 0 ? std::optional(n) : std::nullopt;
}

// "10" or "10%", from 0 to 100.
std::optional<double> percentOf(QString text) {
    if (text.endsWith(QLatin1Char('%')))
        text.chop(1);
    bool ok = false;
    const double percent = text.toDouble(&ok);
    return ok && percent >= 0 && percent <= 100 ? std::optional(percent) : std::nullopt;
}

// An opaque colour by name or #RRGGBB; nothing for any other.
std::optional<Colour> colourNamed(const QString& text) {
    const QColor colour = QColor::fromString(text);
    if (!colour.isValid() || colour.alpha() != 255)
        return std::nullopt;
    return colourFromQColor(colour);
}

// "WxH"; with `oneSideMay`, "Wx" and "xH" too, the missing side 0.
std::optional<QSize> sides(const QString& text, bool oneSideMay) {
    const QStringList parts = text.toLower().split(QLatin1Char('x'));
    if (parts.size() != 2)
        return std::nullopt;
    const std::optional<int> w = positive(parts[0]);
    const std::optional<int> h = positive(parts[1]);
    if (w && h)
        return QSize(*w, *h);
    if (oneSideMay && w && parts[1].isEmpty())
        return QSize(*w, 0);
    if (oneSideMay && h && parts[0].isEmpty())
        return QSize(0, *h);
    return std::nullopt;
}

// The --type names and the -o extensions of each output type; an output
// type's first row names it.
struct OutputTypeName {
    OutputType type;
    QLatin1StringView name;
};
constexpr OutputTypeName kOutputTypeNames[] = {
    {OutputType::Bmp, QLatin1StringView("bmp")},  {OutputType::Jpeg, QLatin1StringView("jpg")},
    {OutputType::Jpeg, QLatin1StringView("jpeg")}, {OutputType::Icon, QLatin1StringView("ico")},
    {OutputType::Png, QLatin1StringView("png")},  {OutputType::Svg, QLatin1StringView("svg")},
    {OutputType::Webp, QLatin1StringView("webp")}, {OutputType::Pdf, QLatin1StringView("pdf")},
    {OutputType::Dxf, QLatin1StringView("dxf")},
};

std::optional<OutputType> outputTypeNamed(const QString& name) {
    for (const OutputTypeName& entry : kOutputTypeNames)
        if (name == entry.name)
            return entry.type;
    return std::nullopt;
}

QString extensionOf(OutputType type) {
    for (const OutputTypeName& entry : kOutputTypeNames)
        if (entry.type == type)
            return entry.name;
    return QString();
}

QString outputTypeList() {
    QStringList names;
    for (const OutputTypeName& entry : kOutputTypeNames)
        names.append(entry.name);
    return names.join(QStringLiteral(", "));
}

// Without --type, --out-dir keeps an input's kind where it is written.
OutputType ownTypeOf(const QString& input) {
    const std::optional<InputKind> kind = inputKindOf(input);
    if (kind == InputKind(PictureKind::Bitmap))
        return OutputType::Bmp;
    if (kind == InputKind(PictureKind::Jpeg))
        return OutputType::Jpeg;
    if (kind == InputKind(PictureKind::Icon))
        return OutputType::Icon;
    return OutputType::Png;
}

std::optional<double> number(const QString& text, double least, double most) {
    bool ok = false;
    const double n = text.toDouble(&ok);
    return ok && n >= least && n <= most ? std::optional(n) : std::nullopt;
}

// "12", "12px" or "-3mm"; lengths beyond a metre are typing mistakes.
std::optional<Length> lengthNamed(QString text) {
    text = text.trimmed().toLower();
    const bool millimetres = text.endsWith(QLatin1String("mm"));
    if (millimetres || text.endsWith(QLatin1String("px")))
        text.chop(2);
    const std::optional<double> value = number(text, millimetres ? -1000 : -100000, millimetres ? 1000 : 100000);
    if (!value)
        return std::nullopt;
    return Length{*value, millimetres};
}

} // namespace

std::variant<Options, QString> parseOptions(const QStringList& arguments) {
    Options options;
    ArgumentWalk walk(arguments);
    const auto missing = [](const QString& name) {
        return QCoreApplication::translate("batch", "%1 needs a value").arg(name);
    };
    const auto bad = [](const QString& name, const QString& value) {
        return QCoreApplication::translate("batch", "%1: \"%2\" is not a valid value").arg(name, value);
    };
    while (!walk.done()) {
        const QString name = walk.next();
        if (name == QLatin1String("-h") || name == QLatin1String("--help")) {
            options.help = true;
            return options;
        }
        if (name == QLatin1String("--version")) {
            options.version = true;
            return options;
        }
        if (name == QLatin1String("--info")) {
            options.info = true;
            continue;
        }
        if (name == QLatin1String("--solid")) {
            options.solid = true;
            continue;
        }
        if (name == QLatin1String("--opaque")) {
            options.opaque = true;
            continue;
        }
        if (name == QLatin1String("-n") || name == QLatin1String("--no-clobber")) {
            options.noClobber = true;
            continue;
        }
        if (name == QLatin1String("--with-picture")) {
            options.withPicture = true;
            continue;
        }
        if (name == QLatin1String("--smooth") || name == QLatin1String("--hard")) {
            if (options.edges != Edges::Auto)
                return QCoreApplication::translate("batch", "give either --smooth or --hard, once");
            options.edges = name == QLatin1String("--smooth") ? Edges::Smooth : Edges::Hard;
            continue;
        }
        if (name == QLatin1String("--")) {
            while (!walk.done())
                options.inputs.append(walk.next());
            break;
        }
        if (!name.startsWith(QLatin1Char('-')) || isStandardStream(name)) {
            options.inputs.append(name);
            continue;
        }
        const std::optional<QString> value = walk.value();
        if (!value)
            return missing(name);
        if (name == QLatin1String("--outline") || name == QLatin1String("--fill")) {
            if (options.shadow != Shadow::None)
                return QCoreApplication::translate("batch", "give either --outline or --fill, once");
            const QColor colour = QColor::fromString(*value);
            if (!colour.isValid())
                return bad(name, *value);
            if (colour.alpha() != 255)
                return QCoreApplication::translate("batch",
                                                   "%1: \"%2\" is not opaque; colours are drawn opaque, and a PNG "
                                                   "output is already transparent where the background is")
                    .arg(name, *value);
            options.shadow = name == QLatin1String("--outline") ? Shadow::Outline : Shadow::Fill;
            options.shadowColour = colourFromQColor(colour);
        } else if (name == QLatin1String("--rotate")) {
            if (*value == QLatin1String("90"))
                options.steps.emplace_back(Turn{TurnOrMirror::Turn90});
            else if (*value == QLatin1String("180"))
                options.steps.emplace_back(Turn{TurnOrMirror::Turn180});
            else if (*value == QLatin1String("270"))
                options.steps.emplace_back(Turn{TurnOrMirror::Turn270});
            else
                return bad(name, *value);
        } else if (name == QLatin1String("--mirror")) {
            if (*value == QLatin1String("lr"))
                options.steps.emplace_back(Turn{TurnOrMirror::MirrorLeftRight});
            else if (*value == QLatin1String("tb"))
                options.steps.emplace_back(Turn{TurnOrMirror::MirrorTopBottom});
            else
                return bad(name, *value);
        } else if (name == QLatin1String("--scale")) {
            const std::optional<int> percent = positive(QString(*value).remove(QLatin1Char('%')));
            if (!percent)
                return bad(name, *value);
            options.steps.emplace_back(Scale{*percent});
        } else if (name == QLatin1String("--size") || name == QLatin1String("--fit")) {
            const bool fit = name == QLatin1String("--fit");
            const std::optional<QSize> box = sides(*value, !fit);
            if (!box)
                return bad(name, *value);
            if (fit)
                options.steps.emplace_back(Fit{box->width(), box->height()});
            else
                options.steps.emplace_back(Size{box->width(), box->height()});
        } else if (name == QLatin1String("--alpha-threshold") || name == QLatin1String("--fuzz")) {
            const std::optional<double> percent = percentOf(*value);
            if (!percent)
                return bad(name, *value);
            if (name == QLatin1String("--fuzz"))
                options.fuzz = *percent;
            else
                options.alphaThreshold = *percent;
        } else if (name == QLatin1String("--background")) {
            options.backgroundCorner = *value == QLatin1String("corner");
            options.backgroundColour = options.backgroundCorner ? std::nullopt : colourNamed(*value);
            if (!options.backgroundCorner && !options.backgroundColour)
                return bad(name, *value);
        } else if (name == QLatin1String("--despeckle")) {
            bool ok = false;
            options.despeckle = value->toLongLong(&ok);
            if (!ok || options.despeckle < 0)
                return bad(name, *value);
        } else if (name == QLatin1String("--type")) {
            options.type = outputTypeNamed(value->toLower());
            if (!options.type)
                return bad(name, *value);
        } else if (name == QLatin1String("--dpi")) {
            options.dpi = number(*value, 1, 100000);
            if (!options.dpi)
                return bad(name, *value);
        } else if (name == QLatin1String("--offset")) {
            options.offset = lengthNamed(*value);
            if (!options.offset)
                return bad(name, *value);
        } else if (name == QLatin1String("--smoothness")) {
            const std::optional<double> smoothness = number(*value, 0, 1.3334);
            if (!smoothness)
                return bad(name, *value);
            options.smoothness = *smoothness;
        } else if (name == QLatin1String("-o") || name == QLatin1String("--output")) {
            options.output = *value;
        } else if (name == QLatin1String("--out-dir")) {
            options.outputFolder = *value;
        } else if (name == QLatin1String("-j") || name == QLatin1String("--jobs")) {
            const std::optional<int> jobs = positive(*value);
            if (!jobs)
                return bad(name, *value);
            options.jobs = *jobs;
        } else {
            return QCoreApplication::translate("batch", "unknown option %1").arg(name);
        }
    }

    if (options.inputs.isEmpty())
        return QCoreApplication::translate("batch", "no input files");
    if (options.inputs.count(QStringLiteral("-")) > 1)
        return QCoreApplication::translate("batch", "standard input (-) can be read once only");
    if (options.info) {
        if (options.shadow != Shadow::None || options.solid || options.opaque || !options.steps.empty() || options.type
            || !options.output.isEmpty() || !options.outputFolder.isEmpty() || options.noClobber || options.dpi
            || options.offset || options.withPicture || options.smoothness != 1.0 || options.alphaThreshold != 50
            || options.backgroundCorner || options.backgroundColour || options.fuzz || options.despeckle > 0
            || options.edges != Edges::Auto)
            return QCoreApplication::translate("batch", "--info takes only input files");
        return options;
    }
    if (options.output.isEmpty() == options.outputFolder.isEmpty())
        return QCoreApplication::translate("batch", "give either -o FILE or --out-dir DIR");
    if (!options.output.isEmpty() && options.inputs.size() > 1)
        return QCoreApplication::translate("batch", "-o takes one input; use --out-dir for several");
    if (isStandardStream(options.output) && !options.type)
        return QCoreApplication::translate("batch", "-o - needs --type (%1)").arg(outputTypeList());
    if (!options.output.isEmpty() && !options.type
        && !outputTypeNamed(pictureExtension(options.output).mid(1)))
        return QCoreApplication::translate("batch", "%1: not a type pelmora-batch writes; give --type, or end the "
                                                    "name in one of: %2")
            .arg(options.output, outputTypeList());
    if (!options.outputFolder.isEmpty()) {
        if (options.inputs.contains(QStringLiteral("-")))
            return QCoreApplication::translate("batch", "standard input (-) needs -o");
        QSet<QString> seen;
        for (const QString& input : options.inputs) {
            const QString out = QDir::cleanPath(outputPathFor(options, input));
            if (seen.contains(out))
                return QCoreApplication::translate("batch", "two inputs would both be written to %1").arg(out);
            seen.insert(out);
        }
    }
    return options;
}

bool isStandardStream(const QString& name) {
    return name == QLatin1String("-");
}

OutputType typeForOutput(const Options& options, const QString& input) {
    if (options.type)
        return *options.type;
    if (!options.output.isEmpty())
        return outputTypeNamed(pictureExtension(options.output).mid(1)).value_or(OutputType::Png);
    return ownTypeOf(input);
}

bool isTraced(OutputType type) {
    return type == OutputType::Svg || type == OutputType::Pdf || type == OutputType::Dxf;
}

QString outputPathFor(const Options& options, const QString& input) {
    if (!options.output.isEmpty())
        return options.output;
    const QString name =
        QFileInfo(input).completeBaseName() + QLatin1Char('.') + extensionOf(typeForOutput(options, input));
    return QDir(options.outputFolder).filePath(name);
}

namespace {

// One option of the help: its name and value as typed, and what it does;
// a description's line breaks continue it under itself.
struct HelpRow {
    const char* option;
    const char* description;
};
constexpr HelpRow kHelpRows[] = {
    {"--outline COLOUR", QT_TRANSLATE_NOOP("batch", "draw a one-pixel outline in COLOUR around the subject")},
    {"--fill COLOUR", QT_TRANSLATE_NOOP("batch", "fill the subject with COLOUR\n"
                                                 "(pictures from JPEG files only with --fuzz; COLOUR is\n"
                                                 "#RRGGBB or a colour name such as black or navy,\n"
                                                 "opaque)")},
    {"--solid", QT_TRANSLATE_NOOP("batch", "only background joined to the picture's border counts:\n"
                                           "areas of its colour inside the subject are subject,\n"
                                           "filled, never outlined, opaque in a PNG and inside\n"
                                           "an SVG's shape")},
    {"--alpha-threshold PERCENT", QT_TRANSLATE_NOOP("batch", "in a picture with transparency, a pixel less opaque\n"
                                                             "than PERCENT is background (default 50)")},
    {"--background COLOUR|corner", QT_TRANSLATE_NOOP("batch", "COLOUR is background instead of the top-left pixel's;\n"
                                                              "corner: the top-left colour for every picture, with\n"
                                                              "transparency drawn on white")},
    {"--fuzz PERCENT", QT_TRANSLATE_NOOP("batch", "colours within PERCENT of the background colour are\n"
                                                  "background too (distance in RGB, 100 being black to\n"
                                                  "white); JPEG photos are outlined and filled with it")},
    {"--despeckle AREA", QT_TRANSLATE_NOOP("batch", "islands of subject and holes in it of fewer than AREA\n"
                                                    "pixels are removed")},
    {"--smooth", QT_TRANSLATE_NOOP("batch", "PNG: smooth edges drawn from the traced curves (for a\n"
                                            "fill or the picture itself, not an outline)")},
    {"--hard", QT_TRANSLATE_NOOP("batch", "PNG: every pixel fully opaque or fully transparent;\n"
                                          "without either, a picture with transparency keeps\n"
                                          "its own soft edge")},
    {"--rotate 90|180|270", QT_TRANSLATE_NOOP("batch", "turn clockwise by that many degrees")},
    {"--mirror lr|tb", QT_TRANSLATE_NOOP("batch", "mirror left-right or top-bottom")},
    {"--scale PERCENT", QT_TRANSLATE_NOOP("batch", "scale both sides to PERCENT of their size")},
    {"--size WxH", QT_TRANSLATE_NOOP("batch", "scale to W x H pixels; Wx or xH keeps the proportions")},
    {"--fit WxH", QT_TRANSLATE_NOOP("batch", "scale to fit inside W x H pixels, keeping the proportions\n"
                                             "(turns, mirrors and scales apply in the order given,\n"
                                             "after the outline or fill)")},
    {"--type TYPE", QT_TRANSLATE_NOOP("batch", "one of %1;\n"
                                               "without it, the -o name's extension decides, and\n"
                                               "--out-dir keeps each input's type where it is one of\n"
                                               "these, else writes png. JPEG is written at quality 90;\n"
                                               "an icon needs a 32 x 32 picture and makes the\n"
                                               "top-left colour transparent")},
    {"--opaque", QT_TRANSLATE_NOOP("batch", "write a PNG without transparent pixels")},
    {"--offset LENGTH", QT_TRANSLATE_NOOP("batch", "grow the subject by LENGTH (negative: shrink it), with\n"
                                                   "round corners, in pixels (12, 12px) or millimetres\n"
                                                   "(3mm); the picture grows by it on every side. With\n"
                                                   "--outline, the line is drawn at that distance")},
    {"--dpi N", QT_TRANSLATE_NOOP("batch", "the picture's resolution in dots per inch, over what\n"
                                           "its file says (96 when neither says)")},
    {"--with-picture", QT_TRANSLATE_NOOP("batch", "SVG and PDF: the picture beneath the traced line; the\n"
                                                  "line's SVG path is named CutContour")},
    {"--smoothness N", QT_TRANSLATE_NOOP("batch", "how round traced curves are: 0 polygons to 1.33 (1)")},
    {"-o, --output FILE", QT_TRANSLATE_NOOP("batch", "write the one input's result to FILE; - writes it to\n"
                                                     "standard output, and then needs --type")},
    {"--out-dir DIR", QT_TRANSLATE_NOOP("batch", "write each result to DIR, named after its input")},
    {"-n, --no-clobber", QT_TRANSLATE_NOOP("batch", "keep outputs that exist; each is reported as skipped")},
    {"-j, --jobs N", QT_TRANSLATE_NOOP("batch", "process N inputs at once (default: one per core)")},
    {"--info", QT_TRANSLATE_NOOP("batch", "print each input's kind, width, height and file size")},
    {"-h, --help", QT_TRANSLATE_NOOP("batch", "show this help")},
    {"--version", QT_TRANSLATE_NOOP("batch", "print the version and exit")},
};

constexpr qsizetype kDescriptionColumn = 23;

} // namespace

QString helpText() {
    QString help = QCoreApplication::translate(
        "batch",
        "Usage: pelmora-batch [OPTION]... (-o FILE | --out-dir DIR) INPUT...\n"
        "       pelmora-batch --info INPUT...\n"
        "\n"
        "Makes shadow images from pictures (BMP, JPEG, icon, WMF, EMF, PNG, GIF,\n"
        "TIFF, WebP; each file's kind is read from its first bytes), the way Pelmora\n"
        "does: every pixel of the top-left pixel's colour is background. In a picture\n"
        "with transparent pixels, the transparent ones are background instead,\n"
        "whatever their colour. Of an animation or a multi-page file, the first\n"
        "picture is read, and of an icon, its largest. An INPUT of - reads standard\n"
        "input. An input is never replaced by an output.\n"
        "\n");
    for (const HelpRow& row : kHelpRows) {
        QString description = QCoreApplication::translate("batch", row.description);
        if (description.contains(QLatin1String("%1")))
            description = description.arg(outputTypeList());
        const QString indent(kDescriptionColumn, QLatin1Char(' '));
        // An option too long for its column has its description on the next line.
        QString option = QStringLiteral("  ") + QString::fromLatin1(row.option);
        option = option.size() < kDescriptionColumn - 1 ? option.leftJustified(kDescriptionColumn) : option + QLatin1Char('\n') + indent;
        help += option + description.replace(QLatin1Char('\n'), QLatin1Char('\n') + indent) + QLatin1Char('\n');
    }
    help += QCoreApplication::translate(
        "batch",
        "\n"
        "A PNG is the result with its background transparent, in the smallest lossless\n"
        "PNG type; a WebP file the same, lossless. An SVG is the subject traced into\n"
        "smooth curves: filled in the --fill colour (black without it), or drawn as a\n"
        "line in the --outline colour; its view box is the picture's size in pixels,\n"
        "after any turns, mirrors and scales, its size in millimetres when the\n"
        "picture's resolution is known. A PDF is one page of the picture's size on\n"
        "paper with the same curves; a DXF drawing has them as closed polylines in\n"
        "millimetres.\n"
        "\n"
        "Examples:\n"
        "  pelmora-batch --solid --fill black -o shadow.png snowman.png\n"
        "  pelmora-batch --solid --outline navy -o shadow.svg snowman.png\n"
        "  cat snowman.png | pelmora-batch --fill black --type png -o - - > shadow.png\n"
        "  pelmora-batch --outline red --offset 3mm --with-picture -o sticker.pdf art.png\n"
        "  pelmora-batch --alpha-threshold 20 --fill black -o shadow.png glow.png\n"
        "  pelmora-batch --background white --fill black -o shadow.png flag.gif\n"
        "  pelmora-batch --background corner --fill black -o shadow.png logo.png\n"
        "  pelmora-batch --solid --fuzz 10 --fill black -o shadow.png photo.jpg\n"
        "  pelmora-batch --solid --fuzz 10 --despeckle 50 --fill black -o s.png photo.jpg\n"
        "  pelmora-batch --solid --fuzz 10 --smooth --fill black -o s.png photo.jpg\n"
        "  pelmora-batch --hard --fill black -o shadow.png icon.png\n"
        "\n"
        "Errors are printed as FILE: message, or as FILE -> OUTPUT: message when the\n"
        "result cannot be written; the other inputs are still done. Messages and\n"
        "progress go to standard error.\n"
        "A result with no subject at all is written, and said as FILE: nothing but\n"
        "background: the result is empty.\n"
        "Exit status: 0 when every input succeeded, 1 when any failed, 2 for a bad\n"
        "command line.\n");
    return help;
}

} // namespace pelmora::batch
