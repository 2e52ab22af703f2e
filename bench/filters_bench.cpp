// filters_bench.cpp -- optical filter timings, each beside its literal per-pixel reference on the same input.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "reference/optical_filters_reference.h"
#include "sim/engine/optical_filters.h"
#include "sim/platform/pixel_format.h"
#include "sim/platform/surface.h"

namespace {

// Deterministic noise for pictures and maps.
struct Noise {
    uint32_t state;
    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
};

void fill(std::vector<uint8_t>& bytes, uint32_t seed) {
    Noise n{seed};
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(n.next());
}

// A 640 x 480 grey map with vessel-like zero bands: a few thick diagonal and
// curved lines, about a fifth of the screen in shadow.
std::vector<uint8_t> vessel_map() {
    std::vector<uint8_t> map(640 * 480, 200);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const int a = (x + 2 * y) % 97, b = (3 * x - y + 4000) % 131, c = (x * x / 640 + y) % 71;
            if (a < 6 || b < 8 || c < 5) map[y * 640 + x] = 0;
        }
    return map;
}

struct Scene {
    platform::Surface surface;
    std::vector<uint8_t> rgb;
    Scene(int w, int h, int bits) {
        platform::create_surface(surface, w, h, bits);
        rgb.resize(static_cast<size_t>(w) * h * 3);
        fill(rgb, 7);
    }
};

template <class Blur>
void run_blur(benchmark::State& state, Blur blur) {
    Scene scene(1280, 960, 16);
    const platform::PixelFormat f = platform::format_565();
    const int level = static_cast<int>(state.range(0));
    for (auto _ : state) {
        blur(scene.surface, f, scene.rgb.data(), level);
        benchmark::DoNotOptimize(scene.surface.pixels.data());
    }
}

void BM_MyopiaBlur(benchmark::State& state) { run_blur(state, engine::apply_myopia_blur); }
void BM_MyopiaBlur_Reference(benchmark::State& state) { run_blur(state, reference::apply_myopia_blur); }
BENCHMARK(BM_MyopiaBlur)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MyopiaBlur_Reference)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1);

// A 640 x 480 back surface at 16 bits with random pixels, locked for the run.
struct Frame {
    platform::Surface surface;
    platform::LockedSurface locked;
    platform::PixelFormat format = platform::format_565();
    Frame() {
        platform::create_surface(surface, 640, 480, 16);
        fill(surface.pixels, 11);
        platform::lock_surface(surface, locked);
    }
};

// The passes cost the same whatever the pixels hold (one table lookup or one
// per-pixel formula each), so the frame is not restored between iterations.
template <class Pass>
void run_frame(benchmark::State& state, Pass pass) {
    Frame frame;
    for (auto _ : state) {
        pass(frame);
        benchmark::DoNotOptimize(frame.surface.pixels.data());
        benchmark::ClobberMemory();
    }
}

void BM_CataractHaze(benchmark::State& state) {
    run_frame(state, [](Frame& f) { engine::draw_cataract_haze(f.locked, f.format, 0.9f); });
}
void BM_CataractHaze_Reference(benchmark::State& state) {
    run_frame(state, [](Frame& f) { reference::draw_cataract_haze(f.locked, f.format, 0.9f); });
}
void BM_Sunglasses(benchmark::State& state) {
    run_frame(state, [](Frame& f) { engine::draw_sunglasses(f.locked, f.format, 128, 100, 60); });
}
void BM_Sunglasses_Reference(benchmark::State& state) {
    run_frame(state, [](Frame& f) { reference::draw_sunglasses(f.locked, f.format, 128, 100, 60); });
}

const std::vector<uint8_t>& shadow_map() {
    static const std::vector<uint8_t> map = vessel_map();
    return map;
}
void BM_RetinaShadow(benchmark::State& state) {
    run_frame(state, [](Frame& f) { engine::draw_retina_shadow(f.locked, f.format, shadow_map().data()); });
}
void BM_RetinaShadow_Reference(benchmark::State& state) {
    run_frame(state, [](Frame& f) { reference::draw_retina_shadow(f.locked, f.format, shadow_map().data()); });
}

template <class NewPath, class Draw>
void run_blood_cells(benchmark::State& state, NewPath new_path, Draw draw) {
    Frame frame;
    std::vector<engine::BloodCell> cells(engine::blood_cell_capacity);
    Random rng;
    const int count = static_cast<int>(state.range(0));
    for (int i = 0; i < count; ++i) new_path(cells[i], rng);
    for (auto _ : state) {
        draw(frame.locked, frame.format, cells.data(), count, 0.08f, rng);
        benchmark::DoNotOptimize(frame.surface.pixels.data());
    }
}
void BM_BloodCells(benchmark::State& state) {
    run_blood_cells(state, engine::new_blood_cell_path, engine::draw_blood_cells);
}
void BM_BloodCells_Reference(benchmark::State& state) {
    run_blood_cells(state, reference::new_blood_cell_path, reference::draw_blood_cells);
}

BENCHMARK(BM_CataractHaze)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CataractHaze_Reference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sunglasses)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sunglasses_Reference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RetinaShadow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RetinaShadow_Reference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BloodCells)->Arg(600)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BloodCells_Reference)->Arg(600)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
