// pixel_ops_test.cpp -- the engine's pixel shortcuts against the per-pixel arithmetic, and frames whose kept tables must follow changing strengths.
#include <gtest/gtest.h>

#include <memory>

#include "reference/engine_fixtures.h"
#include "reference/engine_reference.h"
#include "sim/engine/engine.h"
#include "sim/engine/pixel_ops.h"
#include "support/pixel_compare.h"

namespace {

using engine_fixtures::locked_view;
using engine_fixtures::random_picture;

#if defined(__SSE2__)
// Every 16-bit value under every factor 0..256, in 5-6-5 and its mirror
// order: the fixed-shift darkening equals the generic one field by field.
TEST(PixelOps, FixedShiftDarkeningEqualsTheGenericOneForEveryValueAndFactor) {
    for (const platform::PixelFormat& f :
         {platform::format_565(), platform::pixel_format_from_masks(0x001F, 0x07E0, 0xF800)}) {
        const engine::PlainFormat pf = engine::plain_format(f, 2);
        ASSERT_TRUE(engine::fields_565(pf, 2));
        const engine::Lanes16 lanes = engine::lanes16(pf);
        for (uint32_t factor = 0; factor <= 256; ++factor) {
            const __m128i fv = _mm_set1_epi16(static_cast<short>(factor));
            for (uint32_t v = 0; v < 65536; v += 8) {
                const __m128i pixels = _mm_setr_epi16(short(v), short(v + 1), short(v + 2), short(v + 3),
                                                      short(v + 4), short(v + 5), short(v + 6), short(v + 7));
                const __m128i diff = _mm_xor_si128(engine::darken8_565(pixels, fv), engine::darken8(pixels, fv, lanes));
                ASSERT_EQ(0xFFFF, _mm_movemask_epi8(_mm_cmpeq_epi8(diff, _mm_setzero_si128())))
                    << "factor " << factor << " values from " << v;
            }
        }
    }
    // Formats with other field positions must not take the fixed shifts.
    EXPECT_FALSE(engine::fields_565(engine::plain_format(platform::pixel_format_from_masks(0x7C00, 0x03E0, 0x001F), 2), 2));
    EXPECT_FALSE(engine::fields_565(engine::plain_format(platform::pixel_format_from_masks(0xFC00, 0x03E0, 0x001F), 2), 2));
}
#endif

// A per-channel operation as two lookups gives the three-lookup result for
// every value, whether made from the channel tables or from a whole-value table.
TEST(PixelOps, TwoLookupTablesEqualTheChannelTablesForEveryValue) {
    for (const platform::PixelFormat& f :
         {platform::format_565(), platform::pixel_format_from_masks(0x001F, 0x07E0, 0xF800),
          platform::pixel_format_from_masks(0xFC00, 0x03E0, 0x001F)}) {
        const engine::PlainFormat pf = engine::plain_format(f, 2);
        ASSERT_TRUE(engine::full_16(pf, 2));
        engine::ChannelLut lut;
        engine::build_channel_lut(lut, pf, 2, [](int c, uint32_t v) { return std::min(255u, v * (c + 2) / 3 + 7); });
        std::vector<uint16_t> table(65536);
        engine::build_pixel_table16(table.data(), lut, pf);
        auto from_lut = std::make_unique<engine::SplitLut16>();
        auto from_table = std::make_unique<engine::SplitLut16>();
        ASSERT_EQ(1, engine::build_split_lut16(*from_lut, lut, pf));
        ASSERT_EQ(1, engine::split_from_table16(*from_table, table.data(), pf));
        for (uint32_t v = 0; v < 65536; ++v) {
            const uint32_t want = engine::apply_channel_lut(lut, pf, v);
            ASSERT_EQ(want, engine::apply_split_lut16(*from_lut, v)) << "value " << v;
            ASSERT_EQ(want, engine::apply_split_lut16(*from_table, v)) << "value " << v;
        }
    }
    // No field of at least 4 bits at bit 0: the caller keeps its other path.
    const engine::PlainFormat narrow = engine::plain_format(platform::pixel_format_from_masks(0xF800, 0x07FC, 0x0003), 2);
    engine::ChannelLut lut{};
    auto split = std::make_unique<engine::SplitLut16>();
    EXPECT_EQ(0, engine::build_split_lut16(*split, lut, narrow));
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
    state.eyelid_position = 150;
    engine::EngineState ref = state;
    int frame = 0;
    for (const Strengths& s : {a, b, a, c, a, d, a}) {
        for (engine::EngineState* e : {&state, &ref}) {
            e->glasses_red = s.red, e->glasses_green = s.green, e->glasses_blue = s.blue;
            e->cataract_clarity = s.clarity;
            e->flash_strength = s.flash;
            e->retina_shadow_active = s.shadow;
            e->help_visible = s.help;
            e->sunglasses_active = s.sunglasses;
        }
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
            engine::compose_frame(state, {*doc, display, pictures, rng});
            reference::compose_frame(ref, doc->header, locked_view(expected), display.format,
                                     pictures.grey_map.data(), rng_ref);
            ASSERT_TRUE(testing_support::surfaces_equal(expected, display.back));
            ASSERT_EQ(rng_ref.state, rng.state);
        }
        ++frame;
    }
}

}  // namespace
