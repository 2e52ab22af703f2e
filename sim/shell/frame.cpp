// frame.cpp -- the frame step, blinking, the intro and its start, display re-open.
#include "sim/shell/frame.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "sim/engine/engine.h"
#include "sim/platform/display.h"
#include "sim/platform/pictures.h"
#include "sim/shell/commands.h"
#include "sim/shell/engine_calls.h"
#include "sim/shell/onscreen_text.h"
#include "sim/shell/recording.h"
#include "sim/shell/shell.h"
#include "visionfile/reader.h"

namespace shell {

namespace {

// Copies the 640 x 480 window at (x, y) of picture `index` into the back
// surface. The window never leaves the picture: its corner is limited to the
// picture's size minus the screen's, per axis. A picture narrower or lower
// than the screen is drawn at the top-left corner on black, and with no
// picture the frame is black: a frame never shows what the previous one left.
void copy_background(Simulator& sim, int index, int x, int y) {
    platform::Display& d = sim.display;
    const bool exists = index >= 0 && index < static_cast<int>(d.pictures.size()) &&
                        !d.pictures[index].pixels.empty();
    const int width = exists ? std::min(d.pictures[index].width, platform::screen_width) : 0;
    const int height = exists ? std::min(d.pictures[index].height, platform::screen_height) : 0;
    if ((width < platform::screen_width || height < platform::screen_height) && !d.back.locked)
        std::fill(d.back.pixels.begin(), d.back.pixels.end(), uint8_t{0});
    if (!exists) return;
    x = std::clamp(x, 0, d.pictures[index].width - width);
    y = std::clamp(y, 0, d.pictures[index].height - height);
    platform::copy_picture_to_back(d, index, 0, 0, width, height, x, y);
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
        copy_background(sim, sim.pictures.intro_picture, 0, 0);
        compose_frame(sim);
        draw_status_line(sim, 0);
        intro_eyelid_step(sim);
        return;
    }
    const int x = std::clamp(sim.view_x, 0, platform::screen_width);
    const int y = std::clamp(sim.view_y, 0, platform::screen_height);
    copy_background(sim, e.scene_picture, x, y);
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
    if (sim.display.display_ready != 1) return;
    frame_step(sim);
    platform::present(sim.display, sim.platform);
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

int display_reopen(Simulator& sim) {
    platform::Display& d = sim.display;
    platform::release_picture_surfaces(d, 0, d.picture_count);
    d.picture_count = 0;
    // Indexes into the emptied table would name whatever picture is made
    // next: forget them, and decode the intro picture again if it is still
    // needed.
    sim.pictures.intro_picture = -1;
    sim.engine.scene_picture = -1;
    platform::close_display(d, sim.platform);
    if (!platform::open_display_with_fallback(d, sim.platform)) {
        // Frames could only be drawn into nothing from here on: end cleanly.
        std::fprintf(stderr, "vitrion_sim: the display cannot be opened again; ending\n");
        sim.platform.destroy_window();
        return 0;
    }
    const vision::PictureSlot& intro = sim.document.header.slots[platform::intro_slot];
    if (sim.engine.simulation_started == 0 && intro.picture_offset != 0) {
        int width = 0, height = 0;
        sim.pictures.intro_picture = platform::load_picture(d, sim.pictures.vision_path,
                                                            intro.picture_offset, -1, &width, &height);
    }
    reset_scene(sim);
    return 1;
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
