// qt_scale.h -- the fast path of present: the 640 x 480 frame scaled by
// nearest neighbour into a window-sized 32-bit image in one pass.
#pragma once
#include <QImage>
#include <QSize>

#include <vector>

namespace platform {

// The scaled picture and the source column and row of every target pixel;
// remade only when the target size changes, so a frame allocates nothing.
struct ScaledFrame {
    QImage image;                 // Format_RGB32, the picture rectangle's size
    std::vector<int> source_x;    // per target column
    std::vector<int> source_y;    // per target row
};

// Scales `source` (Format_RGB16, Format_BGR888 or Format_RGB32) to `size`
// into `out.image`. Channels are widened by repeating their top bits, as Qt's
// own conversions do (a 5-bit 31 becomes 255). Returns false for other
// formats or empty sizes (the caller then lets QPainter scale).
bool scale_frame(const QImage& source, QSize size, ScaledFrame& out);

}  // namespace platform
