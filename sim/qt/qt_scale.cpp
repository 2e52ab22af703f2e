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

void resize_tables(QSize size, QSize source, ScaledFrame& out) {
    if (out.image.size() == size && static_cast<int>(out.source_x.size()) == size.width()) return;
    out.image = QImage(size, QImage::Format_RGB32);
    out.source_x.resize(size.width());
    out.source_y.resize(size.height());
    // The same floor mapping as pointer positions use, so a pixel under the
    // pointer is the pixel the simulator thinks it is.
    for (int x = 0; x < size.width(); ++x)
        out.source_x[x] = static_cast<int>(static_cast<long long>(x) * source.width() / size.width());
    for (int y = 0; y < size.height(); ++y)
        out.source_y[y] = static_cast<int>(static_cast<long long>(y) * source.height() / size.height());
}

}  // namespace

bool scale_frame(const QImage& source, QSize size, ScaledFrame& out) {
    const QImage::Format f = source.format();
    if (size.isEmpty() || source.isNull() ||
        (f != QImage::Format_RGB16 && f != QImage::Format_BGR888 && f != QImage::Format_RGB32))
        return false;
    resize_tables(size, source.size(), out);
    if (out.image.isNull()) return false;
    const int w = size.width();
    const int* sx = out.source_x.data();
    int previous_row = -1;
    for (int y = 0; y < size.height(); ++y) {
        uint32_t* d = reinterpret_cast<uint32_t*>(out.image.scanLine(y));
        const int row = out.source_y[y];
        // Rows that repeat a source row copy the previous target row.
        if (row == previous_row) {
            std::memcpy(d, out.image.constScanLine(y - 1), static_cast<size_t>(w) * 4);
            continue;
        }
        previous_row = row;
        const uchar* s = source.constScanLine(row);
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
