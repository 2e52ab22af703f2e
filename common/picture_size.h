// picture_size.h -- the largest picture the simulator shows, and the reduced size it shows a larger JPEG at.
//
// The simulator and the editor's background notes share these rules, so that
// what the editor says about a photo is what the simulator does with it.
#pragma once
#include <cstdint>

namespace picture_size {

// A picture surface and the RGB work buffer hold at most 1228800 pixels
// (1280 x 960), and no side may exceed 4096.
constexpr int max_side = 4096;
constexpr long max_pixels = 1228800;

// 8 x 8 blocks in a 1280 x 960 picture with three full-resolution channels.
constexpr long long blocks_1280_by_960 = 57600;

// A larger JPEG (a camera or phone photo) is decoded at a reduced size, and
// may then hold at most this many 8 x 8 blocks: 12 times the largest shown
// picture, a 29-megapixel photo with the usual halved colour. Reading every
// block is work a load cannot avoid; this keeps it to about 0.3 s even for
// blocks coded as densely as JPEG allows.
constexpr long long max_source_blocks = 12 * blocks_1280_by_960;

// The 8 x 8 blocks of a JPEG frame of `components` channels with the given
// sampling factors (1..4 each): a channel covers the picture at its factors
// over the largest ones. 0 for factors out of range.
inline long long jpeg_blocks(int width, int height, int components, const int* h_samp, const int* v_samp) {
    int h_max = 1, v_max = 1;
    for (int c = 0; c < components; ++c) {
        if (h_samp[c] < 1 || h_samp[c] > 4 || v_samp[c] < 1 || v_samp[c] > 4) return 0;
        if (h_samp[c] > h_max) h_max = h_samp[c];
        if (v_samp[c] > v_max) v_max = v_samp[c];
    }
    long long blocks = 0;
    for (int c = 0; c < components; ++c) {
        const long long across = (int64_t(width) * h_samp[c] + 8LL * h_max - 1) / (8LL * h_max);
        const long long down = (int64_t(height) * v_samp[c] + 8LL * v_max - 1) / (8LL * v_max);
        blocks += across * down;
    }
    return blocks;
}

// The scale, in eighths, a width x height JPEG of `blocks` blocks is decoded
// at, with the size it comes out at: 8 (its own size) when it fits the
// limits above; else the largest of 7 .. 1 eighths whose size, rounded up as
// the JPEG library rounds it, fits; 0 when none fits or the picture holds
// more than max_source_blocks. Sides must be positive. Other limits than
// the simulator's may be given.
inline int decoded_scale(int width, int height, long long blocks, int& out_width, int& out_height,
                         int side_limit = max_side, long pixel_limit = max_pixels) {
    out_width = out_height = 0;
    if (width <= 0 || height <= 0) return 0;
    for (int eighths = 8; eighths >= 1; --eighths) {
        if (eighths < 8 && blocks > max_source_blocks) return 0;
        const long long w = (int64_t(width) * eighths + 7) / 8, h = (int64_t(height) * eighths + 7) / 8;
        if (w <= side_limit && h <= side_limit && w * h <= pixel_limit) {
            out_width = int(w);
            out_height = int(h);
            return eighths;
        }
    }
    return 0;
}

}  // namespace picture_size
