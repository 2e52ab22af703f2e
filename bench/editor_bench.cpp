// editor_bench.cpp -- the editor's drawing costs: full floater map redraws.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "editor/model/floater_map.h"

namespace {

// A new document and the editor state that edits it.
struct Editor {
    std::unique_ptr<vision::Document> doc = std::make_unique<vision::Document>();
    std::unique_ptr<editor::EditorState> state = std::make_unique<editor::EditorState>();
    Editor() {
        std::memset(doc.get(), 0, sizeof *doc);
        vision::reset_to_new_document(*doc);
        state->doc = doc.get();
    }
};

// Redraws the floater map of `editor` in every iteration.
void redraw(benchmark::State& bench, Editor& editor) {
    const editor::PixelPicture picture = editor::make_map_picture();
    for (auto _ : bench) {
        editor::redraw_floater_map(*editor.state, picture);
        benchmark::DoNotOptimize(editor.state->canvas.pixels.data());
    }
}

// A full eye: 100 floaters of 1023 dots each, the current one previewed with
// dot_density 10 and diffusion 10 (10 blocks per dot, steps up to 10 blocks).
void BM_FloaterMapRedraw(benchmark::State& bench) {
    Editor editor;
    vision::Document* doc = editor.doc.get();
    doc->header.floater_count[0] = vision::max_floaters;
    for (int k = 0; k < vision::max_floaters; ++k) {
        for (int i = 0; i < vision::max_dots; ++i) {
            editor::add_floater_dot(*doc, 0, k, 1 + (i * 7 + k * 13) % 799, 1 + (i * 3 + k) % 599);
        }
    }
    doc->records[0][0].dot_density = 10;
    doc->records[0][0].diffusion = 10;
    redraw(bench, editor);
}
BENCHMARK(BM_FloaterMapRedraw)->Unit(benchmark::kMillisecond);

// A damaged file's floater: 1024 dots whose walks fill the preview's 99,999
// blocks, each block larger than the canvas. Shaded block by block this
// froze the editor for minutes.
void BM_FloaterMapRedrawOfCanvasSizedBlocks(benchmark::State& bench) {
    Editor editor;
    vision::Document* doc = editor.doc.get();
    for (int i = 0; i < vision::max_dots; ++i) editor::add_floater_dot(*doc, 0, 0, 1 + i % 799, 1 + i % 599);
    doc->records[0][0].dot_density = 1000;
    doc->records[0][0].dot_size_x = 1 << 20;
    doc->records[0][0].dot_size_y = 1 << 20;
    redraw(bench, editor);
}
BENCHMARK(BM_FloaterMapRedrawOfCanvasSizedBlocks)->Unit(benchmark::kMillisecond);

}  // namespace
