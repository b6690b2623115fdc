// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QString>
#include <QStringList>

// Local
#include "colour.h"
#include "rotate_mirror.h"

// Std
#include <optional>
#include <variant>
#include <vector>

namespace pelmora::batch {

enum class Shadow { None, Outline, Fill };
enum class OutputType { Bmp, Jpeg, Icon, Png, Svg, Webp, Pdf, Dxf };
// A transparent result's edge: the input's own alpha where background is by
// transparency, else hard; smooth from the traced curves; always hard.
enum class Edges { Auto, Smooth, Hard };

// One step applied after the outline or fill, in the order given.
struct Turn { TurnOrMirror turn; };
struct Scale { int percent; };
// A side of 0 follows the other, keeping the proportions.
struct Size { int width; int height; };
// Scaled to fit inside the box, keeping the proportions.
struct Fit { int width; int height; };
using Step = std::variant<Turn, Scale, Size, Fit>;

// A length on the command line: pixels, or millimetres through the
// picture's resolution.
struct Length {
    double value;
    bool millimetres;
};

struct Options {
    bool help = false;
    bool version = false;
    bool info = false;
    Shadow shadow = Shadow::None;
    Colour shadowColour = 0;
    bool solid = false;               // only the background joined to the border counts
    bool opaque = false;              // PNG: no transparent pixels
    std::vector<Step> steps;

    // What is background, and how the silhouette's edge is written.
    double alphaThreshold = 50;              // by transparency: alpha below this percent
    bool backgroundCorner = false;           // --background corner: the top-left colour, transparency drawn on white
    std::optional<Colour> backgroundColour;  // --background COLOUR
    std::optional<double> fuzz;              // colour tolerance in percent
    qint64 despeckle = 0;                    // specks of fewer pixels go
    Edges edges = Edges::Auto;

    std::optional<OutputType> type;   // nothing: from the -o name, else from the input
    // Outputs for print, cutting and the web
    std::optional<double> dpi;        // --dpi: the picture's resolution, over what its file says
    std::optional<Length> offset;     // --offset: grow (or, negative, shrink) the subject
    bool withPicture = false;         // --with-picture: SVG and PDF carry the picture under the line
    double smoothness = 1.0;          // --smoothness: the tracer's corner threshold, 0 to 1.33
    QString output;                   // -o: one file; "-": standard output
    QString outputFolder;             // --out-dir
    int jobs = 0;                     // 0: one per core
    bool noClobber = false;           // existing outputs are kept
    QStringList inputs;               // "-": standard input
};

// The command line (without the program name) as options, or the text
// of what is wrong with it.
std::variant<Options, QString> parseOptions(const QStringList& arguments);

// "-", as an input or an output: standard input or output.
bool isStandardStream(const QString& name);

// The type written for an input's result.
OutputType typeForOutput(const Options& options, const QString& input);

// Where the result of an input goes.
QString outputPathFor(const Options& options, const QString& input);

// The traced outputs: SVG, PDF and DXF.
bool isTraced(OutputType type);

QString helpText();

} // namespace pelmora::batch
