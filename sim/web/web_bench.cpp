// web_bench.cpp -- vitrion_web_bench: the all-effects frame of BM_ComposeFrameAllEffects timed in WebAssembly.
//
// Prints "compose_frame_all_effects_ms <median> <min>" over 200 frames after
// 100 unmeasured ones (the browser compiles hot code again, optimized, meanwhile);
// bench.html shows the line, tools/measure_web.sh reads it.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/all_effects_frame.h"
#include "sim/web/web_platform.h"

int main() {
    static all_effects::AllEffectsFrameOn<platform::WebPlatform> frame(false);
    frame.screen.test.on = 1;
    std::vector<double> times;
    for (int i = 0; i < 300; ++i) {
        frame.restore(frame.seed);
        const double start = emscripten_get_now();
        engine::compose_frame(frame.state, frame.context(), frame.view);
        const double elapsed = emscripten_get_now() - start;
        if (i >= 100) times.push_back(elapsed);
    }
    std::sort(times.begin(), times.end());
    std::printf("compose_frame_all_effects_ms %.3f %.3f\n", times[times.size() / 2], times.front());
    return 0;
}
