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
enum class OutputType { Bmp, Jpeg, Icon, Png, Svg };
// A transparent result's edge: the input's own alpha where background is by
// transparency, else hard; smooth from the traced curves; always hard.
enum class Edges { Auto, Smooth, Hard };

// One step applied after the outline or fill, in the order given.
struct Turn { TurnOrMirror turn; };
struct Scale { int percent; };
struct Size { int width; int height; };
using Step = std::variant<Turn, Scale, Size>;

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

    std::optional<OutputType> type;   // nothing: from the output name, else BMP
    QString output;                   // -o: one file
    QString outputFolder;             // --out-dir
    int jobs = 0;                     // 0: one per core
    QStringList inputs;
};

// The command line (without the program name) as options, or the text
// of what is wrong with it.
std::variant<Options, QString> parseOptions(const QStringList& arguments);

// The type written for an output path when --type is not given.
OutputType typeForOutput(const Options& options, const QString& outputPath);

// Where the result of an input goes.
QString outputPathFor(const Options& options, const QString& input);

QString helpText();

} // namespace pelmora::batch
