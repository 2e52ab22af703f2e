// frame.cpp -- the frame step, blinking, the intro and its start.
#include "sim/shell/frame.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "sim/engine/engine.h"
#include "sim/platform/pictures.h"
#include "sim/shell/commands.h"
#include "sim/shell/engine_calls.h"
#include "sim/shell/onscreen_text.h"
#include "sim/shell/recording.h"
#include "sim/shell/shell.h"
#include "visionfile/reader.h"

namespace shell {

namespace {

// Copies the 640 x 480 window at (x, y) of `picture`, as its 5-6-5 pixels
// `shown` hold it, into the frame. The
// window never leaves the picture: its corner is limited to the picture's
// size minus the screen's, per axis. A picture narrower or lower than the
// screen is drawn at the top-left corner on black, and with no picture the
// frame is black: a frame never shows what the previous one left.
void copy_background(Simulator& sim, const platform::DecodedPicture& picture, const std::vector<uint16_t>& shown,
                     int x, int y) {
    platform::Frame& frame = sim.frame;
    const int width = std::min(picture.width, platform::screen_width);
    const int height = std::min(picture.height, platform::screen_height);
    if (width < platform::screen_width || height < platform::screen_height)
        std::fill(frame.pixels.begin(), frame.pixels.end(), uint16_t{0});
    if (width <= 0 || height <= 0) return;
    x = std::clamp(x, 0, picture.width - width);
    y = std::clamp(y, 0, picture.height - height);
    if (shown.size() != size_t(picture.width) * size_t(picture.height)) return;
    for (int row = 0; row < height; ++row)
        std::memcpy(frame.row(row), shown.data() + size_t(y + row) * picture.width + x, sizeof(uint16_t) * width);
}

// Closing and opening steps shared by blinks and the intro eyelid.
void move_eyelid(Simulator& sim, int speed) {
    if (sim.blink_state == 1) {
        sim.eyelid_position += speed;
        if (sim.eyelid_position > engine::eyelid_base + blink_turn_offset) sim.blink_state = 2;
    }
    if (sim.blink_state == 2) {
        sim.eyelid_position -= speed;
        if (sim.eyelid_position < 0) {
            sim.eyelid_position = 0;
            sim.blink_state = 0;
        }
    }
}

}  // namespace

void frame_step(Simulator& sim) {
    engine::EngineState& e = sim.engine;
    if (e.simulation_started == 0) {
        copy_background(sim, sim.pictures.intro, sim.pictures.intro_565, 0, 0);
        compose_frame(sim);
        draw_status_line(sim, 0);
        intro_eyelid_step(sim);
        return;
    }
    const int x = std::clamp(sim.view_x, 0, platform::screen_width);
    const int y = std::clamp(sim.view_y, 0, platform::screen_height);
    copy_background(sim, platform::shown_scene(sim.pictures), sim.pictures.scene_565, x, y);
    // While a clip records, an overlay screen's dimming waits until the clip
    // has its copy: the clip shows the eye, the screen shows the dimming.
    const int dim_after_recording = compose_frame(sim, clip_takes_frames(sim));
    advance_floater_dots(sim);
    record_frame(sim);  // the frame as composed, before dimming and text
    if (dim_after_recording) dim_for_overlay(sim);
    if (sim.help_visible) {
        draw_help_screen(sim);
        sim.help_seen = 1;
    }
    if (sim.about_visible) draw_about_screen(sim);
    if (sim.personal_info_visible) draw_personal_info_screen(sim);
    draw_status_line(sim, 1);
    blink_step(sim);
    e.eye_movement = 0;
}

void draw_frame_now(Simulator& sim) {
    frame_step(sim);
    sim.platform.present(sim.frame);
}

void blink_step(Simulator& sim) {
    if (sim.blink_state == 0 && sim.auto_blink_interval == 0) return;
    if (sim.blink_state == 0 || sim.blink_state == 3) {
        const long now = sim.platform.calendar_seconds();
        // The draw is made only once the interval has passed.
        const bool begins = sim.blink_state == 3 ||
                            (now > static_cast<long>(sim.last_blink_time) + sim.auto_blink_interval &&
                             sim.random.next() % auto_blink_chance == 0);
        if (begins) {
            sim.blink_state = 1;
            sim.eyelid_position = 0;
            sim.last_blink_time = static_cast<decltype(sim.last_blink_time)>(now);
        }
    }
    move_eyelid(sim, blink_speed);
}

void intro_eyelid_step(Simulator& sim) { move_eyelid(sim, blink_speed / intro_speed_divisor); }

void start_sequence(Simulator& sim) {
    set_status(sim, starting_text);
    draw_frame_now(sim);
    reset_scene(sim);
    sim.engine.simulation_started = 1;
    if (sim.startup_file[0] != '\0') {
        // Loaded as the F4 key would load it, right after the start; the
        // field is emptied first so a later start cannot load it again.
        char path[sizeof sim.startup_file];
        std::memcpy(path, sim.startup_file, sizeof path);
        sim.startup_file[0] = '\0';
        load_vision_at_path(sim, path);
    }
}

int read_default_vision(Simulator& sim) {
    platform::default_vision_path(sim.startup_directory, sim.pictures.vision_path,
                                  platform::vision_path_size);
    errno = 0;
    const int ok = vision::read_vision_file(sim.document, sim.pictures.vision_path);
    if (!ok) {
        std::fprintf(stderr, "vitrion_sim: cannot read default vision file %s: %s\n",
                     sim.pictures.vision_path, std::strerror(errno ? errno : ENOENT));
    }
    return ok;
}

}  // namespace shell
