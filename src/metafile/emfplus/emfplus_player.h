// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

// Local
#include "emf_player.h"
#include "emfplus_objects.h"
#include "emfplus_records.h"
#include "picture_limits.h"

// Std
#include <array>
#include <optional>
#include <vector>

namespace pelmora {

// Plays the EMF+ records of a checked EMF with QPainter, and the GDI
// records that follow a GetDC record with the GDI player. World units pass
// through the world transform and the page transform (unit and scale) to
// the recording device's pixels, then through the output transform to the
// target's pixels.
class EmfPlusPlayer {
public:
    EmfPlusPlayer(ByteView file, const EmfHeader& header, const EmfPlusHeader& plus, QImage& target,
                  const QTransform& output, WorkBudget& budget);

    void play();

private:
    struct State {
        QTransform world;                   // world to page units
        QTransform container;               // the open containers' transforms
        quint32 pageUnit = 1;
        double pageScale = 1;
        std::optional<QPainterPath> clip;   // target pixels; none is no clip
        bool antialias = false;
        bool textAntialias = true;
    };

    void playRecords(ByteView records);
    void dispatch(quint16 type, quint16 flags, ByteView data);
    void playGdi(std::size_t from, std::size_t to);

    // Objects.
    void object(quint16 flags, ByteView data);
    template <typename T>
    const T* find(quint32 id) const {
        return id < objects_.size() ? std::get_if<T>(&objects_[id]) : nullptr;
    }
    std::optional<EmfPlusBrush> brush(bool direct, quint32 value) const;

    // Transforms and state.
    double unitPixels(quint32 unit, bool vertical = false) const;
    QTransform pageTransform() const;
    // A length in a unit as world units: the page transform converts it,
    // the world transform then scales it as it does everything.
    double worldLength(double length, quint32 unit, bool vertical = false) const;
    QTransform transform() const;       // to target pixels
    void changeWorld(const QTransform& t, quint16 flags);
    void save(quint32 id);
    void restore(quint32 id);
    void beginContainer(ByteView data);
    void combineClip(const QPainterPath& targetPath, int mode);
    QPainterPath regionPath(const EmfPlusRegion& region, int node, int depth) const;

    // Charges work against the file's budget; false once it is spent.
    bool spend(double cost);
    bool spendOnRegion(const EmfPlusRegion& region);
    // What rasterising the path, in world units, costs; nothing once the
    // budget is spent, when nothing is drawn.
    double rasterWork(const QPainterPath& path, Raster kind, double penPixels = 0) const;

    // Drawing, in world units; work: what the rasteriser does besides painting.
    bool prepare(const QRectF& worldBounds, qsizetype elements = 0, double work = 0);
    void fill(const QPainterPath& path, const EmfPlusBrush& brush);
    void stroke(const QPainterPath& path, const EmfPlusPen& pen);
    void shape(quint16 type, quint16 flags, ByteView data);
    void drawImage(const EmfPlusImage& image, const QRectF& source, const QTransform& sourceToWorld);
    void drawString(quint16 flags, ByteView data);
    void drawDriverString(quint16 flags, ByteView data);
    QFont qtFont(const EmfPlusFont& font, double& scale) const;

    ByteView file_;
    EmfHeader header_;
    EmfPlusHeader plus_;
    QImage& target_;
    QTransform output_;
    QPainter painter_;
    State state_;
    std::vector<std::pair<quint32, State>> saved_;
    std::array<EmfPlusObject, 64> objects_;
    QByteArray continued_;                  // an object split over records
    quint16 continuedFlags_ = 0;
    std::size_t continuedTotal_ = 0;
    bool clipApplied_ = false;
    bool getDc_ = false;
    bool ended_ = false;
    int nestedPlays_ = 0;
    WorkBudget& budget_;
};

} // namespace pelmora
