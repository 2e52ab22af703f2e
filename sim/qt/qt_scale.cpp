// qt_scale.cpp -- nearest-neighbour scaling of the frame into 32-bit pixels.
#include "sim/qt/qt_scale.h"

#include <cstring>

namespace platform {

namespace {

inline uint32_t widen_565(uint16_t v) {
    uint32_t r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
    r = (r << 3) | (r >> 2);
    g = (g << 2) | (g >> 4);
    b = (b << 3) | (b >> 2);
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

bool source_format_ok(QImage::Format f) {
    return f == QImage::Format_RGB16 || f == QImage::Format_BGR888 || f == QImage::Format_RGB32;
}

bool target_format_ok(QImage::Format f) {
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
           f == QImage::Format_ARGB32_Premultiplied;
}

void make_tables(QSize target, QSize source, ScaleTables& t) {
    if (t.target == target && t.source == source) return;
    t.target = target;
    t.source = source;
    t.source_x.resize(target.width());
    t.source_y.resize(target.height());
    for (int x = 0; x < target.width(); ++x)
        t.source_x[x] = static_cast<int>(static_cast<long long>(x) * source.width() / target.width());
    for (int y = 0; y < target.height(); ++y)
        t.source_y[y] = static_cast<int>(static_cast<long long>(y) * source.height() / target.height());
}

}  // namespace

bool can_scale_into(const QImage& source, const QImage& target) {
    return !source.isNull() && !target.isNull() && source_format_ok(source.format()) &&
           target_format_ok(target.format());
}

bool scale_into(const QImage& source, QImage& target, QRect area, ScaleTables& tables) {
    if (!can_scale_into(source, target) || area.isEmpty() || !target.rect().contains(area))
        return false;
    make_tables(area.size(), source.size(), tables);
    const QImage::Format f = source.format();
    const int w = area.width();
    const int* sx = tables.source_x.data();
    // bits() on a shared image would detach it: the target is the backing
    // store's own image, written in place.
    uchar* target_bits = target.bits();
    const qsizetype target_pitch = target.bytesPerLine();
    const uchar* source_bits = source.constBits();
    const qsizetype source_pitch = source.bytesPerLine();
    uint32_t* previous = nullptr;
    int previous_row = -1;
    for (int y = 0; y < area.height(); ++y) {
        uint32_t* d = reinterpret_cast<uint32_t*>(target_bits + (area.top() + y) * target_pitch) + area.left();
        const int row = tables.source_y[y];
        // A row that repeats the source row above copies the finished row.
        if (row == previous_row) {
            std::memcpy(d, previous, static_cast<size_t>(w) * 4);
            previous = d;
            continue;
        }
        previous_row = row;
        previous = d;
        const uchar* s = source_bits + row * source_pitch;
        if (f == QImage::Format_RGB16) {
            const uint16_t* p = reinterpret_cast<const uint16_t*>(s);
            for (int x = 0; x < w; ++x) d[x] = widen_565(p[sx[x]]);
        } else if (f == QImage::Format_BGR888) {
            // Bytes blue, green, red in memory.
            for (int x = 0; x < w; ++x) {
                const uchar* p = s + 3 * sx[x];
                d[x] = 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
            }
        } else {
            const uint32_t* p = reinterpret_cast<const uint32_t*>(s);
            for (int x = 0; x < w; ++x) d[x] = 0xFF000000u | p[sx[x]];
        }
    }
    return true;
}

}  // namespace platform
