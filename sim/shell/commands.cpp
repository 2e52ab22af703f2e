// commands.cpp -- the key commands and the vision-file loads behind F3 and F4.
#include "sim/shell/commands.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "sim/platform/pictures.h"
#include "sim/shell/engine_calls.h"
#include "sim/shell/frame.h"
#include "sim/shell/keys.h"
#include "sim/shell/onscreen_text.h"
#include "sim/shell/recording.h"
#include "sim/shell/shell.h"
#include "visionfile/reader.h"

namespace shell {

namespace {

// Formats a status text and puts it on the status line.
template <class... Args>
void status(Simulator& sim, const char* format, Args... args) {
    char text[status_text_size];
    std::snprintf(text, sizeof text, format, args...);
    set_status(sim, text);
}

// Toggles `flag` and shows the text for the new state.
void toggle(Simulator& sim, int& flag, const char* off_text, const char* on_text) {
    if (flag == 1) {
        flag = 0;
        set_status(sim, off_text);
    } else {
        flag = 1;
        set_status(sim, on_text);
    }
}

// The tint keys: +8, wrapping to 0 past 255. The tint comes from the file
// and may be anything: compared before adding so INT_MAX cannot overflow.
void step_tint(Simulator& sim, int& channel, const char* name) {
    channel = channel > 255 - tint_step ? 0 : channel + tint_step;
    status(sim, "Changing sun glasses color %s to %d", name, channel);
}

// A float strength stepped in double precision and stored in single; the
// limits test the unrounded result. Returns 1 when the limit was hit.
int step_float(float& value, double step, double low, double high) {
    const double result = static_cast<double>(value) + step;
    if (result > high) {
        value = static_cast<float>(high);
        return 1;
    }
    if (result < low) {
        value = static_cast<float>(low);
        return 1;
    }
    value = static_cast<float>(result);
    return 0;
}

void myopia_to(Simulator& sim, int dioptres) {
    status(sim, "Creating miopy: -%d diop., please wait...", dioptres);
    draw_frame_now(sim);
    sim.engine.myopia_active = 1;
    sim.engine.myopia_level = dioptres;
    apply_myopia_blur(sim);
}

void toggle_myopia(Simulator& sim) {
    engine::EngineState& e = sim.engine;
    if (e.myopia_active == 1) {
        set_status(sim, "Deactivating miopy, please wait...");
        draw_frame_now(sim);
        e.myopia_active = 0;
        e.myopia_level = 0;
        apply_myopia_blur(sim);
    } else {
        myopia_to(sim, sim.document.header.myopia_dioptres);
    }
}

// Loading starts: timer stopped, cursor shown, pointer and paint ignored.
void begin_loading(Simulator& sim) {
    cut_recording(sim);
    sim.engine.help_visible = 0;
    sim.platform.stop_timer(frame_timer_id);
    sim.platform.show_cursor(1);
    sim.busy = 1;
}

void end_loading(Simulator& sim) {
    sim.busy = 0;
    sim.platform.show_cursor(0);
    sim.platform.start_timer(frame_timer_id, frame_period_ms);
}

// Remembers the folder of `path` for the next dialog.
void remember_folder(Simulator& sim, const char* path) {
    const char* slash = std::strrchr(path, '/');
    if (!slash) return;
    const size_t length = std::max<size_t>(1, static_cast<size_t>(slash - path));  // "/" stays "/"
    if (length >= sizeof sim.dialog_directory) return;
    std::memcpy(sim.dialog_directory, path, length);
    sim.dialog_directory[length] = '\0';
}

}  // namespace

void toggle_help(Simulator& sim) {
    engine::EngineState& e = sim.engine;
    if (e.help_visible) {
        e.help_visible = 0;
    } else {
        e.help_visible = 1;
        e.about_visible = 0;
        e.personal_info_visible = 0;
    }
}

void load_default_vision(Simulator& sim) {
    begin_loading(sim);
    read_default_vision(sim);
    sim.engine.default_vision_loaded = 1;
    reset_scene(sim);
    end_loading(sim);
}

void load_personal_vision(Simulator& sim) {
    begin_loading(sim);
    static const char* const filter[] = {"flt", "*.flt", "All files", "*.*"};
    const char* initial = sim.dialog_directory[0] ? sim.dialog_directory : sim.startup_directory;
    char chosen[platform::vision_path_size] = {};
    if (!sim.platform.choose_file_to_open(chosen, sizeof chosen, dialog_title, filter, 2,
                                          dialog_extension, initial)) {
        end_loading(sim);
        return;
    }
    chosen[sizeof chosen - 1] = '\0';
    remember_folder(sim, chosen);

    // The default file first, so that whatever the chosen file does not
    // reach holds the default values rather than the previous file's.
    read_default_vision(sim);
    if (!display_reopen(sim)) return;  // the window is being destroyed

    errno = 0;
    if (vision::read_vision_file(sim.document, chosen)) {
        std::snprintf(sim.pictures.vision_path, sizeof sim.pictures.vision_path, "%s", chosen);
        sim.engine.default_vision_loaded = 0;
    } else {
        // The file vanished or cannot be read: the document is still the
        // default file, so its pictures and random floaters stay in use.
        sim.engine.default_vision_loaded = 1;
        std::fprintf(stderr, "vitrion_sim: cannot read vision file %s: %s\n", chosen,
                     std::strerror(errno ? errno : ENOENT));
    }
    reset_scene(sim);
    end_loading(sim);
}

void run_key_command(Simulator& sim, int key) {
    engine::EngineState& e = sim.engine;
    const vision::Header& h = sim.document.header;

    // Keys that keep the help screen as it is.
    switch (key) {
        case key_f1:
            toggle_help(sim);
            return;
        case key_f2:
            if (e.personal_info_visible) {
                e.personal_info_visible = 0;
            } else {
                e.personal_info_visible = 1;
                e.about_visible = 0;
                e.help_visible = 0;
            }
            return;
        case key_letter('S'):
            e.personal_info_visible = 0;
            e.help_visible = 0;
            e.about_visible = e.about_visible ? 0 : 1;
            return;
        case key_f8:
            capture_command(sim);
            return;
        case key_f9:
            toggle_recording(sim);
            return;
        default: break;
    }

    const bool in_table = key == key_f3 || key == key_f4 || key == key_f5 || key == key_f6 ||
                          key == key_f7 || key == key_space || (key >= key_0 && key <= key_9) ||
                          (key >= 'A' && key <= 'Z' &&
                           std::strchr("AQZNJKYWERTPOIUMGBVFCXDL", key) != nullptr);
    if (!in_table) return;
    e.help_visible = 0;

    const int sunglasses = h.sunglasses_on == 1;
    const int blood_cells = h.blood_cells_on == 1;
    const int cataracts = h.cataracts_on == 1;
    const int myopia = h.myopia_on == 1;

    if (key >= key_0 && key <= key_9) {
        if (myopia) myopia_to(sim, key == key_0 ? 10 : key - key_0);
        return;
    }
    switch (key) {
        case key_f3: load_default_vision(sim); break;
        case key_f4: load_personal_vision(sim); break;
        case key_f5: e.eye_mode = 2; set_status(sim, "Both eyes"); break;
        case key_f6: e.eye_mode = 0; set_status(sim, "Only LEFT eye"); break;
        case key_f7: e.eye_mode = 1; set_status(sim, "Only RIGHT eye"); break;
        case key_space: e.blink_state = 3; break;
        case 'A': e.eyelid_position = std::min(e.eyelid_position + e.eyelid_step, eyelid_closed); break;
        case 'Q': e.eyelid_position = std::max(e.eyelid_position - e.eyelid_step, 0); break;
        case 'Z':
            if (e.auto_blink_interval != 0) {
                e.auto_blink_interval = 0;
                set_status(sim, "Auto blink OFF");
            } else {
                e.auto_blink_interval = auto_blink_on_interval;
                set_status(sim, "Auto blink ON");
            }
            break;
        case 'N': toggle(sim, e.floaters_active, "Deactivating floaters", "Activating floaters"); break;
        case 'J':
            add_random_floater(sim);
            e.floaters_active = 1;
            status(sim, "Incrementing floaters to: %d", e.particle_count);
            break;
        case 'K':
            if (e.floaters_active == 1) {
                drop_floaters(sim);
                status(sim, "Decrementing floaters to: %d", e.particle_count);
            }
            break;
        case 'Y':
            if (h.retina_shadow_on == 1)
                toggle(sim, e.retina_shadow_active, "Deactivating retina shadow",
                       "Activating retina shadow");
            break;
        case 'W':
            if (sunglasses) toggle(sim, e.sunglasses_active, "Sun glasses OFF", "Sun glasses ON");
            break;
        case 'E': if (sunglasses) step_tint(sim, e.glasses_red, "red"); break;
        case 'R': if (sunglasses) step_tint(sim, e.glasses_green, "green"); break;
        case 'T': if (sunglasses) step_tint(sim, e.glasses_blue, "blue"); break;
        case 'P':
            if (blood_cells) {
                const int count = e.blood_cell_count + blood_cell_step;
                if (count > blood_cell_max) {
                    set_blood_cell_count(sim, blood_cell_max);
                    status(sim, "Incrementing blood cells to: MAX(%ld)", long(e.blood_cell_count));
                } else {
                    set_blood_cell_count(sim, count);
                    status(sim, "Incrementing blood cells to: %ld", long(e.blood_cell_count));
                }
            }
            break;
        case 'O':
            if (blood_cells) {
                const int count = e.blood_cell_count - blood_cell_step;
                if (count < 0) {
                    set_blood_cell_count(sim, 0);
                    status(sim, "Decrementing blood cells to: MIN(%ld)", long(e.blood_cell_count));
                } else {
                    set_blood_cell_count(sim, count);
                    status(sim, "Decrementing blood cells to: %ld", long(e.blood_cell_count));
                }
            }
            break;
        case 'I':
            if (blood_cells) {
                if (step_float(e.blood_cell_brightness, 0.01, -1e300, 0.4))
                    status(sim, "Incrementing blood cells bright to: MAX(%f)",
                           double(e.blood_cell_brightness));
                else
                    status(sim, "Incrementing blood cells bright to: %f",
                           double(e.blood_cell_brightness));
            }
            break;
        case 'U':
            if (blood_cells) {
                if (step_float(e.blood_cell_brightness, -0.01, 0.0, 1e300))
                    status(sim, "Decrementing blood cells bright to: MIN(%f)",
                           double(e.blood_cell_brightness));
                else
                    status(sim, "Decrementing blood cells bright to: %f",
                           double(e.blood_cell_brightness));
            }
            break;
        case 'M': if (myopia) toggle_myopia(sim); break;
        case 'G':
            if (cataracts)
                toggle(sim, e.cataracts_active, "Deactivating cataracts", "Activating cataracts");
            break;
        case 'B':
            if (cataracts) {
                e.cataracts_active = 1;
                step_float(e.cataract_clarity, -0.1, 0.1, 1e300);
                set_status(sim, "Incrementing cataracts");
            }
            break;
        case 'V':
            if (cataracts && e.cataracts_active == 1) {
                step_float(e.cataract_clarity, 0.1, -1e300, 1.0);
                set_status(sim, "Decrementing cataracts");
            }
            break;
        case 'F':
            if (h.flashes_on == 1)
                toggle(sim, e.flashes_active, "Flashes deactivateds",
                       "Flashes at random times activateds");
            break;
        case 'C':
            if (h.stars_on == 1) toggle(sim, e.stars_active, "Deactivating stars", "Activating stars");
            break;
        case 'X':
            if (h.sac_refractions_on == 1)
                toggle(sim, e.sac_refractions_active, "Deactivating sac refractions",
                       "Aactivating sac refractions");
            break;
        case 'D':
            if (h.sparks_on == 1)
                toggle(sim, e.sparks_active, "Deactivating sparks", "Activating sparks");
            break;
        case 'L':
            set_status(sim, "Changing scene");
            draw_frame_now(sim);
            next_scene(sim);
            break;
        default: break;
    }
}

}  // namespace shell
