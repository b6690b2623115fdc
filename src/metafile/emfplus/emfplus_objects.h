// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QBrush>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QString>

// Local
#include "byte_view.h"
#include "picture_limits.h"

// Std
#include <optional>
#include <variant>
#include <vector>

namespace pelmora {

// The objects an EMF+ file keeps in its table, as plain values. Geometry is
// in world units.

struct EmfPlusBrush {
    QBrush brush;
    std::optional<QColor> background;       // a hatch's back colour
    std::optional<QPainterPath> boundary;   // a path gradient paints only inside it
};

// A shape a pen puts on a figure's end: in pen widths, the end at the
// origin and the line running out along +y.
struct EmfPlusCap {
    QPainterPath shape;
    bool filled = true;
};

struct EmfPlusPen {
    EmfPlusBrush brush;
    double width = 1;
    quint32 unit = 0;                        // UnitType of the width
    QTransform transform;
    Qt::PenCapStyle cap = Qt::FlatCap;
    std::optional<EmfPlusCap> startCap, endCap;   // anchors and custom caps
    Qt::PenJoinStyle join = Qt::MiterJoin;
    double miterLimit = 10;
    QList<qreal> dashes;                     // in widths; empty when solid
    double dashOffset = 0;
};

struct EmfPlusPath {
    QPainterPath path;
};

// A region as its tree of nodes, node 0 the root: kept unevaluated because
// an infinite node means everything the device can show.
struct EmfPlusRegion {
    struct Node {
        quint32 type = 0;                    // RegionNodeDataType
        QPainterPath path;                   // a rectangle or path node
        int left = -1, right = -1;           // a combining node's children
    };
    std::vector<Node> nodes;
};

struct EmfPlusImage {
    QImage bitmap;
    QByteArray metafile;                     // a WMF or EMF drawn at its destination
};

struct EmfPlusFont {
    double emSize = 0;
    quint32 unit = 0;
    quint32 style = 0;                       // FontStyle bits
    QString family;
};

struct EmfPlusStringFormat {
    quint32 flags = 0;
    quint32 align = 0;                       // StringAlignment, across
    quint32 lineAlign = 0;                   // and down
    double leadingMargin = 1.0 / 6;          // ems kept clear before the text
    double trailingMargin = 1.0 / 6;         // and after it
};

using EmfPlusObject = std::variant<std::monostate, EmfPlusBrush, EmfPlusPen, EmfPlusPath, EmfPlusRegion,
                                   EmfPlusImage, EmfPlusFont, EmfPlusStringFormat>;

// One object from its serialised bytes, of the ObjectType the record names;
// nothing when the bytes do not hold together. The budget is charged for
// the pixels of an image, a texture brush or pen before they are unpacked.
std::optional<EmfPlusObject> readEmfPlusObject(quint32 type, ByteView data, WorkBudget& budget);

std::optional<EmfPlusBrush> readEmfPlusBrush(ByteView data, WorkBudget& budget);
std::optional<QPainterPath> readEmfPlusPath(ByteView data);

} // namespace pelmora
