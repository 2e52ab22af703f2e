// pixels_test.cpp -- the engine's pixel shortcuts against the per-pixel arithmetic, and frames whose kept tables must follow changing strengths.
#include <gtest/gtest.h>

#include <memory>

#include "reference/engine_fixtures.h"
#include "reference/engine_reference.h"
#include "sim/engine/engine.h"
#include "sim/engine/pixels.h"
#include "sim/platform/null_platform.h"
#include "support/pixel_compare.h"

namespace {

using engine_fixtures::random_frame;

#if defined(__SSE2__)
// Every 5-6-5 value under every factor 0..256: the eight-lane darkening
// equals the literal channel arithmetic, channel x factor / 256.
TEST(Pixels, LaneDarkeningEqualsTheChannelArithmeticForEveryValueAndFactor) {
    for (uint32_t factor = 0; factor <= 256; ++factor) {
        const __m128i fv = _mm_set1_epi16(static_cast<short>(factor));
        for (uint32_t v = 0; v < 65536; v += 8) {
            alignas(16) uint16_t lanes[8];
            for (uint32_t k = 0; k < 8; ++k) lanes[k] = uint16_t(v + k);
            _mm_store_si128(reinterpret_cast<__m128i*>(lanes),
                            engine::darken8_565(_mm_load_si128(reinterpret_cast<const __m128i*>(lanes)), fv));
            for (uint32_t k = 0; k < 8; ++k) {
                uint16_t p = uint16_t(v + k);
                uint32_t r, g, b;
                reference::read_pixel(&p, r, g, b);
                reference::write_pixel(r * factor / 256, g * factor / 256, b * factor / 256, &p);
                ASSERT_EQ(p, lanes[k]) << "factor " << factor << " value " << v + k;
                ASSERT_EQ(engine::darken_565(v + k, factor), lanes[k]) << "factor " << factor << " value " << v + k;
            }
        }
    }
}
#endif

// The two-lookup table gives what reading the pixel, mapping each channel
// and writing it back gives, for every value; also for channel results above
// 255, which keep only their field's bits.
TEST(Pixels, ChannelTableEqualsTheLiteralChannelMappingForEveryValue) {
    auto op = [](int c, uint32_t v) { return v * (c + 2) / 3 + 7 + (c == 1 ? 300u : 0u); };
    engine::Lut565 lut;
    engine::build_lut565(lut, op);
    for (uint32_t v = 0; v < 65536; ++v) {
        uint16_t p = uint16_t(v);
        uint32_t r, g, b;
        reference::read_pixel(&p, r, g, b);
        reference::write_pixel(op(0, r), op(1, g), op(2, b), &p);
        ASSERT_EQ(p, lut(v)) << "value " << v;
    }
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
    platform::Frame frame;
    platform::NullPlatform screen;
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
    int step = 0;
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
            for (uint32_t seed = 1 + 100 * step;; ++seed) {
                Random probe;
                probe.seed(seed);
                if ((probe.next() % 30 == 0) == flashes) return seed;
            }
        };
        for (uint32_t seed : {seed_with(true), seed_with(false)}) {
            SCOPED_TRACE("frame " + std::to_string(step) + " seed " + std::to_string(seed));
            rng.seed(seed);
            rng_ref = rng;
            frame = random_frame(900 + step);
            platform::Frame expected = frame;
            engine::compose_frame(state, {*doc, frame, pictures, screen, rng}, view);
            reference::compose_frame(ref, doc->header, view, expected, pictures.grey_map.data(), rng_ref);
            ASSERT_TRUE(testing_support::frames_equal(expected, frame));
            ASSERT_EQ(rng_ref.state, rng.state);
        }
        ++step;
    }
}

}  // namespace
