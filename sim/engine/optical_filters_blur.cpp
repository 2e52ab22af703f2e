// optical_filters_blur.cpp -- the myopic box blur of the scene picture.
//
// Every output pixel is the kernel's channel sums divided by the full kernel
// size (pixels outside the picture count as black). The sums are kept as
// running sums: per column over the kernel's rows, updated by one row in and
// one row out per output row, and along each row as differences of prefix
// sums. That makes the cost independent of the kernel size. Output pixels
// depend only on the unblurred scene, so computing them row by row gives the same
// picture as any other order.
#include <algorithm>
#include <vector>

#include "sim/engine/optical_filters.h"

namespace engine {

BlurKernel blur_kernel(int level) {
    const int e = 3 * level;
    BlurKernel k;
    k.half_height = e / 2;
    k.half_width = e - k.half_height;
    k.divisor = (2 * k.half_width + 1) * (2 * k.half_height + 1);
    return k;
}

uint64_t blur_reciprocal(int divisor) { return (uint64_t{1} << 32) / static_cast<uint64_t>(divisor) + 1; }

namespace {

// sum / divisor as (sum * reciprocal) >> 32. With reciprocal * divisor =
// 2^32 + e, 0 < e <= divisor, the quotient is exact whenever sum * divisor <
// 2^32; the largest sum is 255 * divisor and the largest divisor 961, so
// 255 * 961^2 < 2^28 keeps every sum far inside that range.
inline uint32_t divide(uint32_t sum, uint64_t reciprocal) {
    return static_cast<uint32_t>((sum * reciprocal) >> 32);
}

// Runs body(i) for i = 0..n-1, in fixed-size blocks first: loops of a
// constant length are the ones the compiler turns into vector code at -O2.
constexpr int block = 48;
template <class Body>
inline void for_range(size_t n, Body body) {
    size_t i = 0;
    for (; i + block <= n; i += block)
        for (int j = 0; j < block; ++j) body(i + j);
    for (; i < n; ++i) body(i);
}

void blur_rows(const uint8_t* rgb, int width, int height, uint8_t* out, BlurKernel k) {
    const int w = k.half_width, h = k.half_height;
    const uint64_t reciprocal = blur_reciprocal(k.divisor);
    const size_t row_values = static_cast<size_t>(width) * 3;
    // Column sums over the kernel's rows, with w black columns on each side;
    // and their prefix sums along the row (one more column in front).
    std::vector<uint32_t> columns((static_cast<size_t>(width) + 2 * w) * 3, 0);
    std::vector<uint32_t> prefix(columns.size() + 3, 0);
    uint32_t* column = columns.data() + static_cast<size_t>(w) * 3;
    auto row = [&](int v) { return rgb + static_cast<size_t>(v) * row_values; };
    for (int v = 0; v <= h && v < height; ++v) {
        const uint8_t* in = row(v);
        for_range(row_values, [&](size_t i) { column[i] += in[i]; });
    }

    const size_t prefix_values = prefix.size();
    const size_t span = static_cast<size_t>(2 * w + 1) * 3;
    for (int y = 0; y < height; ++y) {
        uint32_t* pre = prefix.data();
        const uint32_t* col = columns.data();
        // Running totals stay in registers: reading back the stored prefix
        // would wait on store forwarding at every column.
        uint32_t total[3] = {0, 0, 0};
        for (size_t i = 3; i < prefix_values; i += 3, col += 3) {
            total[0] += col[0];
            total[1] += col[1];
            total[2] += col[2];
            pre[i] = total[0];
            pre[i + 1] = total[1];
            pre[i + 2] = total[2];
        }
        uint8_t* q = out + static_cast<size_t>(y) * row_values;
        for_range(row_values, [&](size_t i) { q[i] = uint8_t(divide(pre[i + span] - pre[i], reciprocal)); });
        // Slide the column sums down one row.
        const bool enters = y + h + 1 < height, leaves = y - h >= 0;
        if (enters && leaves) {
            const uint8_t* in = row(y + h + 1);
            const uint8_t* out = row(y - h);
            for_range(row_values, [&](size_t i) { column[i] += uint32_t(in[i]) - out[i]; });
        } else if (enters) {
            const uint8_t* in = row(y + h + 1);
            for_range(row_values, [&](size_t i) { column[i] += in[i]; });
        } else if (leaves) {
            const uint8_t* out = row(y - h);
            for_range(row_values, [&](size_t i) { column[i] -= out[i]; });
        }
    }
}

}  // namespace

int apply_myopia_blur(const platform::DecodedPicture& scene, platform::DecodedPicture& blurred, int level) {
    const size_t size = static_cast<size_t>(scene.width) * static_cast<size_t>(scene.height) * 3;
    if (scene.width <= 0 || scene.height <= 0 || scene.rgb.size() != size) {
        blurred = platform::DecodedPicture{};
        return 0;
    }
    blurred.rgb.resize(size);
    blurred.width = scene.width;
    blurred.height = scene.height;
    blur_rows(scene.rgb.data(), scene.width, scene.height, blurred.rgb.data(),
              blur_kernel(std::clamp(level, 0, max_myopia_level)));
    return 1;
}

}  // namespace engine
