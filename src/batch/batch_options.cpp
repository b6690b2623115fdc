// SPDX-License-Identifier: GPL-2.0-or-later
#include "batch_options.h"

// Qt
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>

// Local
#include "picture_kind.h"
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

std::optional<Colour> colourNamed(const QString& text) {
    const QColor colour = QColor::fromString(text);
    if (!colour.isValid())
        return std::nullopt;
    return colourFromQColor(colour);
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

} // namespace

std::variant<Options, QString> parseOptions(const QStringList& arguments) {
    Options options;
    ArgumentWalk walk(arguments);
    const auto missing = [](const QString& name) { return QStringLiteral("%1 needs a value").arg(name); };
    const auto bad = [](const QString& name, const QString& value) {
        return QStringLiteral("%1: \"%2\" is not a valid value").arg(name, value);
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
        if (!name.startsWith(QLatin1Char('-')) || name == QLatin1String("-")) {
            options.inputs.append(name);
            continue;
        }
        const std::optional<QString> value = walk.value();
        if (!value)
            return missing(name);
        if (name == QLatin1String("--outline") || name == QLatin1String("--fill")) {
            if (options.shadow != Shadow::None)
                return QStringLiteral("give either --outline or --fill, once");
            const std::optional<Colour> colour = colourNamed(*value);
            if (!colour)
                return bad(name, *value);
            options.shadow = name == QLatin1String("--outline") ? Shadow::Outline : Shadow::Fill;
            options.shadowColour = *colour;
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
        } else if (name == QLatin1String("--size")) {
            const QStringList sides = value->toLower().split(QLatin1Char('x'));
            const std::optional<int> w = sides.size() == 2 ? positive(sides[0]) : std::nullopt;
            const std::optional<int> h = sides.size() == 2 ? positive(sides[1]) : std::nullopt;
            if (!w || !h)
                return bad(name, *value);
            options.steps.emplace_back(Size{*w, *h});
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
            return QStringLiteral("unknown option %1").arg(name);
        }
    }

    if (options.inputs.isEmpty())
        return QStringLiteral("no input files");
    if (options.info) {
        if (options.shadow != Shadow::None || options.solid || options.opaque || !options.steps.empty() || options.type
            || !options.output.isEmpty() || !options.outputFolder.isEmpty())
            return QStringLiteral("--info takes only input files");
        return options;
    }
    if (options.output.isEmpty() == options.outputFolder.isEmpty())
        return QStringLiteral("give either -o FILE or --out-dir DIR");
    if (!options.output.isEmpty() && options.inputs.size() > 1)
        return QStringLiteral("-o takes one input; use --out-dir for several");
    if (!options.outputFolder.isEmpty()) {
        QSet<QString> seen;
        for (const QString& input : options.inputs) {
            const QString out = QDir::cleanPath(outputPathFor(options, input));
            if (seen.contains(out))
                return QStringLiteral("two inputs would both be written to %1").arg(out);
            seen.insert(out);
        }
    }
    return options;
}

OutputType typeForOutput(const Options& options, const QString& outputPath) {
    if (options.type)
        return *options.type;
    return outputTypeNamed(pictureExtension(outputPath).mid(1)).value_or(OutputType::Bmp);
}

QString outputPathFor(const Options& options, const QString& input) {
    if (!options.output.isEmpty())
        return options.output;
    const QString name = QFileInfo(input).completeBaseName() + QLatin1Char('.')
                         + extensionOf(options.type.value_or(OutputType::Bmp));
    return QDir(options.outputFolder).filePath(name);
}

QString helpText() {
    return QStringLiteral(
        "Usage: pelmora-batch [OPTION]... (-o FILE | --out-dir DIR) INPUT...\n"
        "       pelmora-batch --info INPUT...\n"
        "\n"
        "Makes shadow images from pictures (.bmp, .jpg, .jpeg, .ico, .wmf, .emf, .png,\n"
        ".gif, .tif, .tiff, .webp), the way Pelmora does: every pixel of the top-left\n"
        "pixel's colour is background. In a picture with transparent pixels, the\n"
        "transparent ones are background instead, whatever their colour. Of an\n"
        "animation or a multi-page file, the first picture is read.\n"
        "\n"
        "  --outline COLOUR     draw a one-pixel outline in COLOUR around the subject\n"
        "  --fill COLOUR        fill the subject with COLOUR\n"
        "                       (pictures from JPEG files only with --fuzz; COLOUR is\n"
        "                       #RRGGBB or a colour name such as black or navy)\n"
        "  --solid              only background joined to the picture's border counts:\n"
        "                       areas of its colour inside the subject are subject,\n"
        "                       filled, never outlined, opaque in a PNG and inside\n"
        "                       an SVG's shape\n"
        "  --alpha-threshold PERCENT\n"
        "                       in a picture with transparency, a pixel less opaque\n"
        "                       than PERCENT is background (default 50)\n"
        "  --background COLOUR|corner\n"
        "                       COLOUR is background instead of the top-left pixel's;\n"
        "                       corner: the top-left colour for every picture, with\n"
        "                       transparency drawn on white\n"
        "  --fuzz PERCENT       colours within PERCENT of the background colour are\n"
        "                       background too (distance in RGB, 100 being black to\n"
        "                       white); JPEG photos are outlined and filled with it\n"
        "  --despeckle AREA     islands of subject and holes in it of fewer than AREA\n"
        "                       pixels are removed\n"
        "  --smooth             PNG: smooth edges drawn from the traced curves (for a\n"
        "                       fill or the picture itself, not an outline)\n"
        "  --hard               PNG: every pixel fully opaque or fully transparent;\n"
        "                       without either, a picture with transparency keeps\n"
        "                       its own soft edge\n"
        "  --rotate 90|180|270  turn clockwise by that many degrees\n"
        "  --mirror lr|tb       mirror left-right or top-bottom\n"
        "  --scale PERCENT      scale both sides to PERCENT of their size\n"
        "  --size WxH           scale to W x H pixels\n"
        "                       (turns, mirrors and scales apply in the order given,\n"
        "                       after the outline or fill)\n"
        "  --type TYPE          bmp, jpg, ico, png or svg; without it, the -o name's\n"
        "                       extension decides, and --out-dir writes bmp. JPEG is\n"
        "                       written at quality 90; an icon needs a 32 x 32\n"
        "                       picture and makes the top-left colour transparent\n"
        "  --opaque             write a PNG without transparent pixels\n"
        "  -o, --output FILE    write the one input's result to FILE\n"
        "  --out-dir DIR        write each result to DIR, named after its input\n"
        "  -j, --jobs N         process N inputs at once (default: one per core)\n"
        "  --info               print each input's kind, width, height and file size\n"
        "  -h, --help           show this help\n"
        "  --version            print the version and exit\n"
        "\n"
        "A PNG is the result with its background transparent. An SVG is the subject\n"
        "traced into smooth curves: filled in the --fill colour (black without it),\n"
        "or drawn as a line in the --outline colour; its size is the picture's size\n"
        "in pixels, after any turns, mirrors and scales.\n"
        "\n"
        "Examples:\n"
        "  pelmora-batch --solid --fill black -o shadow.png snowman.png\n"
        "  pelmora-batch --solid --outline navy -o shadow.svg snowman.png\n"
        "  pelmora-batch --alpha-threshold 20 --fill black -o shadow.png glow.png\n"
        "  pelmora-batch --background white --fill black -o shadow.png flag.gif\n"
        "  pelmora-batch --background corner --fill black -o shadow.png logo.png\n"
        "  pelmora-batch --solid --fuzz 10 --fill black -o shadow.png photo.jpg\n"
        "  pelmora-batch --solid --fuzz 10 --despeckle 50 --fill black -o s.png photo.jpg\n"
        "  pelmora-batch --solid --fuzz 10 --smooth --fill black -o s.png photo.jpg\n"
        "  pelmora-batch --hard --fill black -o shadow.png icon.png\n"
        "\n"
        "Errors are printed as FILE: message, or as FILE -> OUTPUT: message when the\n"
        "result cannot be written; the other inputs are still done.\n"        "A result with no subject at all is written, and said as FILE: nothing but\n"
        "background: the result is empty.\n"
        "Exit status: 0 when every input succeeded, 1 when any failed, 2 for a bad\n"
        "command line.\n");
}

} // namespace pelmora::batch
