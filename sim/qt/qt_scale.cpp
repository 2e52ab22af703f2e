// qt_scale.cpp -- nearest-neighbour scaling of the 5-6-5 frame into 32-bit pixels.
#include "sim/qt/qt_scale.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

namespace {

inline uint32_t widen_565(uint16_t v) {
    uint32_t r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
    r = (r << 3) | (r >> 2);
    g = (g << 2) | (g >> 4);
    b = (b << 3) | (b >> 2);
    return 0xFF000000u | (r << 16) | (g << 8) | b;
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
    t.widened.resize(source.width());
    t.row.resize(target.width());
    for (int x = 0; x < target.width(); ++x)
        t.source_x[x] = static_cast<int>(static_cast<long long>(x) * source.width() / target.width());
    for (int y = 0; y < target.height(); ++y)
        t.source_y[y] = static_cast<int>(static_cast<long long>(y) * source.height() / target.height());
}

// Copies `count` pixels to `d`. The target (a backing store the X server
// reads next) is written with streaming stores where the processor has
// them: no cache line of it is read first, which halves the memory traffic
// of a large window.
void put_row(uint32_t* d, const uint32_t* s, int count) {
#if defined(__SSE2__)
    int x = 0;
    for (; x < count && (reinterpret_cast<uintptr_t>(d + x) & 15) != 0; ++x) d[x] = s[x];
    for (; x + 4 <= count; x += 4)
        _mm_stream_si128(reinterpret_cast<__m128i*>(d + x),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + x)));
    for (; x < count; ++x) d[x] = s[x];
#else
    std::memcpy(d, s, static_cast<size_t>(count) * 4);
#endif
}

}  // namespace

void widen_row(const uchar* s, int width, uint32_t* out) {
    const uint16_t* p = reinterpret_cast<const uint16_t*>(s);
    for (int x = 0; x < width; ++x) out[x] = widen_565(p[x]);
}

bool can_scale_into(const QImage& source, const QImage& target) {
    return !source.isNull() && !target.isNull() && source.format() == QImage::Format_RGB16 &&
           target_format_ok(target.format());
}

bool scale_into(const QImage& source, QImage& target, QRect area, ScaleTables& tables) {
    if (!can_scale_into(source, target) || area.isEmpty() || !target.rect().contains(area))
        return false;
    make_tables(area.size(), source.size(), tables);
    const int w = area.width();
    const int* sx = tables.source_x.data();
    uint32_t* widened = tables.widened.data();
    uint32_t* row = tables.row.data();
    // bits() on a shared image would detach it: the target is the backing
    // store's own image, written in place.
    uchar* target_bits = target.bits();
    const qsizetype target_pitch = target.bytesPerLine();
    int made_row = -1;
    for (int y = 0; y < area.height(); ++y) {
        // Each source row is widened and stretched once, then put into every
        // target row that shows it.
        const int source_row = tables.source_y[y];
        if (source_row != made_row) {
            widen_row(source.constScanLine(source_row), source.width(), widened);
            for (int x = 0; x < w; ++x) row[x] = widened[sx[x]];
            made_row = source_row;
        }
        put_row(reinterpret_cast<uint32_t*>(target_bits + (area.top() + y) * target_pitch) + area.left(), row, w);
    }
#if defined(__SSE2__)
    _mm_sfence();  // the streamed rows are visible before the flush
#endif
    return true;
}

}  // namespace platform
