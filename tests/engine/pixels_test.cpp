// pixels_test.cpp -- the engine's pixel shortcuts against the per-pixel arithmetic, and frames whose kept tables must follow changing strengths.
#include <gtest/gtest.h>

#include <memory>

#include "reference/engine_fixtures.h"
#include "reference/engine_reference.h"
#include "sim/engine/engine.h"
#include "sim/engine/pixels.h"
#include "support/pixel_compare.h"

namespace {

using engine_fixtures::locked_view;
using engine_fixtures::random_picture;

#if defined(__SSE2__)
// Every 5-6-5 value under every factor 0..256: the eight-lane darkening
// equals the one-pixel field arithmetic.
TEST(Pixels, LaneDarkeningEqualsTheFieldArithmeticForEveryValueAndFactor) {
    const engine::PlainFormat pf = engine::plain_format(platform::format_565(), 2);
    for (uint32_t factor = 0; factor <= 256; ++factor) {
        const __m128i fv = _mm_set1_epi16(static_cast<short>(factor));
        for (uint32_t v = 0; v < 65536; v += 8) {
            alignas(16) uint16_t lanes[8];
            for (uint32_t k = 0; k < 8; ++k) lanes[k] = uint16_t(v + k);
            _mm_store_si128(reinterpret_cast<__m128i*>(lanes),
                            engine::darken8_565(_mm_load_si128(reinterpret_cast<const __m128i*>(lanes)), fv));
            for (uint32_t k = 0; k < 8; ++k) {
                uint8_t p[2];
                engine::store_pixel<2>(p, v + k);
                engine::darken_plain<2>(pf, p, factor);
                ASSERT_EQ(engine::load_pixel<2>(p), lanes[k]) << "factor " << factor << " value " << v + k;
            }
        }
    }
}
#endif

// The two-lookup table gives the three-lookup result for every value.
TEST(Pixels, SplitTableEqualsTheChannelTablesForEveryValue) {
    const engine::PlainFormat pf = engine::plain_format(platform::format_565(), 2);
    engine::ChannelLut lut;
    engine::build_channel_lut(lut, pf, 2, [](int c, uint32_t v) { return std::min(255u, v * (c + 2) / 3 + 7); });
    engine::SplitLut565 split;
    engine::build_split_lut565(split, lut);
    for (uint32_t v = 0; v < 65536; ++v)
        ASSERT_EQ(engine::apply_channel_lut(lut, pf, v), engine::apply_split_lut565(split, v)) << "value " << v;
}

// The frame keeps its whole-value tables from frame to frame. Strengths that
// change between frames, and return to earlier values, must give the literal
// frame every time: A, B, A, C, A, D, A with different tints, clarities, flash
// strengths, shadow and overlay switches, at 5-6-5.
TEST(ComposeFrameTables, FollowStrengthsThatChangeAndComeBack) {
    struct Strengths { int red, green, blue; float clarity, flash; int shadow, help, sunglasses; };
    const Strengths a{128, 128, 128, 0.9f, 0.3f, 1, 1, 1}, b{255, 10, 77, 1.2f, 0.75f, 1, 0, 1},
                    c{128, 128, 128, 0.9f, 0.3f, 0, 1, 0}, d{128, 128, 128, 0.9f, 0.6f, 1, 1, 1};
    auto doc = std::make_unique<vision::Document>();
    platform::Display display;
    display.format = platform::format_565();
    platform::Pictures pictures;
    pictures.grey_map = engine_fixtures::random_grey_map(5);
    Random rng, rng_ref;
    engine::EngineState state;
    state.simulation_started = 1;
    state.floaters_active = 0;
    state.cataracts_active = state.flashes_active = 1;
    engine::FrameView view;
    view.eyelid_position = 150;
    engine::EngineState ref = state;
    int frame = 0;
    for (const Strengths& s : {a, b, a, c, a, d, a}) {
        for (engine::EngineState* e : {&state, &ref}) {
            e->glasses_red = s.red, e->glasses_green = s.green, e->glasses_blue = s.blue;
            e->cataract_clarity = s.clarity;
            e->flash_strength = s.flash;
            e->retina_shadow_active = s.shadow;
            e->sunglasses_active = s.sunglasses;
        }
        view.overlay_dimmed = s.help;
        // Nothing else draws from the generator here, so the flash draw is the
        // frame's first: one seed whose frame flashes, one whose frame does not.
        auto seed_with = [&](bool flashes) {
            for (uint32_t seed = 1 + 100 * frame;; ++seed) {
                Random probe;
                probe.seed(seed);
                if ((probe.next() % 30 == 0) == flashes) return seed;
            }
        };
        for (uint32_t seed : {seed_with(true), seed_with(false)}) {
            SCOPED_TRACE("frame " + std::to_string(frame) + " seed " + std::to_string(seed));
            rng.seed(seed);
            rng_ref = rng;
            platform::create_surface(display.back, 640, 480, 16);
            display.back = random_picture(16, 900 + frame);
            platform::Surface expected = display.back;
            engine::compose_frame(state, {*doc, display, pictures, rng}, view);
            reference::compose_frame(ref, doc->header, view, locked_view(expected), display.format,
                                     pictures.grey_map.data(), rng_ref);
            ASSERT_TRUE(testing_support::surfaces_equal(expected, display.back));
            ASSERT_EQ(rng_ref.state, rng.state);
        }
        ++frame;
    }
}

}  // namespace
