// SPDX-License-Identifier: GPL-2.0-or-later
#include "dxf_output.h"

// Qt
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryFile>

// Local
#include "atomic_file.h"
#include "pelmora_error.h"

// Std
#include <algorithm>
#include <cmath>
#include <dxflib/dl_dxf.h>
#include <memory>
#include <vector>

namespace pelmora::batch {

namespace {

using Polygon = std::vector<QPointF>;

double distanceToLine(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF ab = b - a;
    const double length = std::hypot(ab.x(), ab.y());
    if (length == 0)
        return std::hypot(p.x() - a.x(), p.y() - a.y());
    return std::abs(ab.x() * (p.y() - a.y()) - ab.y() * (p.x() - a.x())) / length;
}

// A cubic lies within its control polygon, so once both inner control
// points are within the tolerance of the chord, so is the curve.
void flatten(const QPointF& p0, const QPointF& p1, const QPointF& p2, const QPointF& p3, double tolerance,
             Polygon& out, int depth = 0) {
    if (depth == 16 || std::max(distanceToLine(p1, p0, p3), distanceToLine(p2, p0, p3)) <= tolerance) {
        out.push_back(p3);
        return;
    }
    const QPointF a = (p0 + p1) / 2, b = (p1 + p2) / 2, c = (p2 + p3) / 2;
    const QPointF ab = (a + b) / 2, bc = (b + c) / 2, middle = (ab + bc) / 2;
    flatten(p0, a, ab, middle, tolerance, out, depth + 1);
    flatten(middle, bc, c, p3, tolerance, out, depth + 1);
}

// Every subpath as a polygon, without its closing point.
std::vector<Polygon> polygons(const QPainterPath& shape, double tolerance) {
    std::vector<Polygon> all;
    for (int i = 0; i < shape.elementCount(); ++i) {
        const QPainterPath::Element& e = shape.elementAt(i);
        if (e.isMoveTo()) {
            all.emplace_back(1, QPointF(e));
        } else if (e.isLineTo()) {
            all.back().push_back(e);
        } else if (e.isCurveTo()) {
            flatten(all.back().back(), e, shape.elementAt(i + 1), shape.elementAt(i + 2), tolerance, all.back());
            i += 2;
        }
    }
    for (Polygon& polygon : all)
        if (polygon.size() > 1 && polygon.front() == polygon.back())
            polygon.pop_back();
    return all;
}

void writeDrawing(DL_Dxf& dxf, DL_WriterA& out, const std::vector<Polygon>& shapes, double mmPerPixel,
                  double height) {
    const std::string layer = "CUT";
    dxf.writeHeader(out);
    out.dxfString(9, "$INSUNITS");
    out.dxfInt(70, 4);   // millimetres
    out.sectionEnd();
    out.sectionTables();
    dxf.writeVPort(out);
    out.tableLinetypes(1);
    dxf.writeLinetype(out, DL_LinetypeData("CONTINUOUS", "Continuous", 0, 0, 0.0));
    out.tableEnd();
    out.tableLayers(1);
    dxf.writeLayer(out, DL_LayerData(layer, 0), DL_Attributes(std::string(), 7, 0, "CONTINUOUS", 1.0));
    out.tableEnd();
    // The dimension style refers to the text style written here.
    out.tableStyle(1);
    dxf.writeStyle(out, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
    out.tableEnd();
    dxf.writeView(out);
    dxf.writeUcs(out);
    out.tableAppid(1);
    dxf.writeAppid(out, "ACAD");
    out.tableEnd();
    dxf.writeDimStyle(out, 1, 1, 1, 1, 1);
    dxf.writeBlockRecord(out);
    out.tableEnd();
    out.sectionEnd();
    out.sectionBlocks();
    dxf.writeBlock(out, DL_BlockData("*Model_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(out, "*Model_Space");
    dxf.writeBlock(out, DL_BlockData("*Paper_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(out, "*Paper_Space");
    out.sectionEnd();
    out.sectionEntities();
    const DL_Attributes attributes(layer, 256, -1, "BYLAYER", 1.0);
    for (const Polygon& polygon : shapes) {
        dxf.writePolyline(out, DL_PolylineData(int(polygon.size()), 0, 0, 1), attributes);
        for (const QPointF& p : polygon)
            dxf.writeVertex(out, DL_VertexData(p.x() * mmPerPixel, (height - p.y()) * mmPerPixel, 0, 0));
        dxf.writePolylineEnd(out);
    }
    out.sectionEnd();
    dxf.writeObjects(out);
    dxf.writeObjectsEnd(out);
    out.dxfEOF();
}

} // namespace

void saveDxf(const TracedPage& page, const QString& path) {
    const double mmPerPixel = millimetresPerPixel(page);
    const std::vector<Polygon> shapes = polygons(page.shape, kDxfToleranceMm / mmPerPixel);
    // dxflib writes only to a named file: a private one, then copied whole.
    const QString failed = QCoreApplication::translate("batch", "the DXF drawing could not be made");
    QTemporaryFile drawing;
    if (!drawing.open())
        throw PelmoraError(failed);
    DL_Dxf dxf;
    {
        const std::unique_ptr<DL_WriterA> out(dxf.out(QFile::encodeName(drawing.fileName()).constData(),
                                                      DL_Codes::AC1015));
        if (!out)
            throw PelmoraError(failed);
        writeDrawing(dxf, *out, shapes, mmPerPixel, page.size.height());
        out->close();
    }
    drawing.seek(0);
    const QByteArray bytes = drawing.readAll();
    // dxflib does not tell of a failed write (a full disk): the drawing must be whole.
    if (!bytes.endsWith("\nEOF\n"))
        throw PelmoraError(failed);
    writeFileAtomically(path, bytes);
}

} // namespace pelmora::batch
