// qt_scale.h -- the software present: the 640 x 480 frame scaled by nearest
// neighbour straight into a 32-bit image (the window's backing store).
#pragma once
#include <QImage>
#include <QRect>
#include <QSize>

#include <vector>

namespace platform {

// The source column of every target column and the source row of every
// target row for one picture size, and room for one source row widened and
// one target row; remade only when that size changes, so a frame allocates
// nothing.
struct ScaleTables {
    QSize target;                 // the picture size the tables were made for
    QSize source;
    std::vector<int> source_x;    // per target column
    std::vector<int> source_y;    // per target row
    std::vector<uint32_t> widened;   // one source row as 0xFFRRGGBB
    std::vector<uint32_t> row;       // one finished target row
};

// Whether scale_into can write `source` into `target` itself.
// Sources: Format_RGB16 (the frame). Targets: Format_RGB32,
// Format_ARGB32 and Format_ARGB32_Premultiplied (written opaque).
bool can_scale_into(const QImage& source, const QImage& target);

// One row of `width` 5-6-5 pixels as 0xFFRRGGBB, widened as scale_into widens.
void widen_row(const uchar* row, int width, uint32_t* out);

// Scales `source` to fill `area` of `target` and touches no pixel outside
// it. Target pixel (x, y) of the area takes source pixel
// (x * source width / area width, y * source height / area height), rounded
// down: the mapping pointer positions use too. Channels are widened by
// repeating their top bits, as Qt's own conversions do (a 5-bit 31 becomes
// 255). Returns false, writing nothing, when can_scale_into is false or
// `area` is empty or not inside `target`.
bool scale_into(const QImage& source, QImage& target, QRect area, ScaleTables& tables);

}  // namespace platform
