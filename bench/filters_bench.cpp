// filters_bench.cpp -- myopia blur and blood cell timings, each beside its literal per-pixel reference on the same input.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "reference/optical_filters_reference.h"
#include "sim/engine/optical_filters.h"
#include "sim/platform/frame.h"

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

template <class Blur>
void run_blur(benchmark::State& state, Blur blur) {
    platform::DecodedPicture scene, blurred;
    scene.width = 1280;
    scene.height = 960;
    scene.rgb.resize(size_t(1280) * 960 * 3);
    fill(scene.rgb, 7);
    const int level = static_cast<int>(state.range(0));
    for (auto _ : state) {
        blur(scene, blurred, level);
        benchmark::DoNotOptimize(blurred.rgb.data());
    }
}

void BM_MyopiaBlur(benchmark::State& state) { run_blur(state, engine::apply_myopia_blur); }
void BM_MyopiaBlur_Reference(benchmark::State& state) { run_blur(state, reference::apply_myopia_blur); }
BENCHMARK(BM_MyopiaBlur)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MyopiaBlur_Reference)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1);

template <class NewPath, class Draw>
void run_blood_cells(benchmark::State& state, NewPath new_path, Draw draw) {
    platform::Frame frame;
    for (uint16_t& v : frame.pixels) v = uint16_t(Noise{uint32_t(&v - frame.pixels.data()) + 11}.next());
    std::vector<engine::BloodCell> cells(engine::blood_cell_capacity);
    Random rng;
    const int count = static_cast<int>(state.range(0));
    for (int i = 0; i < count; ++i) new_path(cells[i], rng);
    for (auto _ : state) {
        draw(frame, cells.data(), count, 0.08f, rng);
        benchmark::DoNotOptimize(frame.pixels.data());
    }
}
void BM_BloodCells(benchmark::State& state) {
    run_blood_cells(state, engine::new_blood_cell_path, engine::draw_blood_cells);
}
void BM_BloodCells_Reference(benchmark::State& state) {
    run_blood_cells(state, reference::new_blood_cell_path, reference::draw_blood_cells);
}

BENCHMARK(BM_BloodCells)->Arg(600)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BloodCells_Reference)->Arg(600)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
