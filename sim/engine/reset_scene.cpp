// reset_scene.cpp -- reset scene from vision settings: settings, first scene picture, rebuilt tables.
//
// Kept apart from the other reset steps because it is the engine's only call
// into the picture library.
#include "sim/engine/engine.h"

namespace engine {

void reset_scene_from_vision_settings(EngineState& state, const EngineContext& context) {
    apply_vision_settings(state, context.doc.header);
    context.pictures.scene_slot = -1;
    platform::next_scene(context.pictures, context.platform, context.doc, state.default_vision_loaded, 0);
    rebuild_engine_tables(state, context.doc, context.rng);
}

}  // namespace engine
