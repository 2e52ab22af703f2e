// commands.cpp -- the key commands and the vision-file loads behind F3 and F4.
#include "sim/shell/commands.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "sim/engine/engine_state.h"
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
    set_status_format(sim, "Changing sun glasses color %s to %d", name, channel);
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
    set_status_format(sim, "Creating miopy: -%d diop., please wait...", dioptres);
    draw_frame_now(sim);
    sim.myopia_active = 1;
    sim.engine.myopia_level = dioptres;
    apply_myopia_blur(sim);
}

void toggle_myopia(Simulator& sim) {
    if (sim.myopia_active == 1) {
        set_status(sim, "Deactivating miopy, please wait...");
        draw_frame_now(sim);
        sim.myopia_active = 0;
        sim.engine.myopia_level = 0;
        apply_myopia_blur(sim);
    } else {
        myopia_to(sim, sim.document.header.myopia_dioptres);
    }
}

// Loading starts: timer stopped, cursor shown, pointer and paint ignored.
void begin_loading(Simulator& sim) {
    cut_recording(sim);
    sim.help_visible = 0;
    sim.platform.set_frame_timer(0);
    sim.busy = 1;
}

void end_loading(Simulator& sim) {
    sim.busy = 0;
    sim.platform.set_frame_timer(frame_period_ms);
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

// Why `path` cannot be loaded as a vision file, into `reason`; 0 when it can
// be read. A file shorter than a vision header is no vision file: read over
// the document it would leave a mix of two files.
int unreadable_vision(const char* path, char* reason, size_t reason_size) {
    struct stat info;
    errno = 0;
    if (stat(path, &info) != 0) {
        std::snprintf(reason, reason_size, "%s", std::strerror(errno ? errno : ENOENT));
        return 1;
    }
    if (S_ISREG(info.st_mode) && info.st_size < static_cast<off_t>(vision::header_size)) {
        std::snprintf(reason, reason_size, "damaged or not a vision file (%lld bytes, shorter than a vision header)",
                      static_cast<long long>(info.st_size));
        return 1;
    }
    return 0;
}

// The second half of F4, once a file is known: the timer is stopped and
// busy is 1 (begin_loading).
void load_chosen_vision(Simulator& sim, const char* chosen) {
    remember_folder(sim, chosen);

    // The default file first, so that whatever the chosen file does not
    // reach holds the default values rather than the previous file's; its
    // scene reset keeps the generator's draws what they always were.
    read_default_vision(sim);
    reset_scene(sim);

    char reason[160] = {};
    errno = 0;
    if (!unreadable_vision(chosen, reason, sizeof reason) && vision::read_vision_file(sim.document, chosen)) {
        std::snprintf(sim.pictures.vision_path, sizeof sim.pictures.vision_path, "%s", chosen);
        sim.engine.default_vision_loaded = 0;
    } else {
        // The file vanished, cannot be read or is no vision file: the
        // document is still the default file, so its pictures and random
        // floaters stay in use.
        if (reason[0] == '\0') std::snprintf(reason, sizeof reason, "%s", std::strerror(errno ? errno : ENOENT));
        sim.engine.default_vision_loaded = 1;
        std::fprintf(stderr, "vitrion_sim: cannot read vision file %s: %s\n", chosen, reason);
        // Said on the screen too: whoever opened a file someone sent them
        // would otherwise take the default vision for that person's.
        char text[platform::vision_path_size + 256];
        std::snprintf(text, sizeof text, "Cannot load the vision file\n%s\n\n%s.\n\nThe default vision is shown instead.",
                      chosen, reason);
        sim.platform.show_message(text, "Vitrion");
    }
    reset_scene(sim);
    end_loading(sim);
}

}  // namespace

void toggle_help(Simulator& sim) {
    if (sim.help_visible) {
        sim.help_visible = 0;
    } else {
        sim.help_visible = 1;
        sim.about_visible = 0;
        sim.personal_info_visible = 0;
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
    const platform::FileRequest request{dialog_title, filter, 2, dialog_extension, initial};
    char chosen[platform::vision_path_size] = {};
    const int answer = sim.platform.choose_file(request, chosen, sizeof chosen);
    if (answer == platform::file_pending) {
        sim.file_pending = 1;  // on_file_chosen goes on from here
        return;
    }
    chosen[sizeof chosen - 1] = '\0';
    finish_personal_vision(sim, answer == platform::file_chosen ? chosen : nullptr);
}

void finish_personal_vision(Simulator& sim, const char* path) {
    if (!path) {
        end_loading(sim);
        return;
    }
    char chosen[platform::vision_path_size];
    std::snprintf(chosen, sizeof chosen, "%s", path);
    load_chosen_vision(sim, chosen);
}

void load_vision_at_path(Simulator& sim, const char* path) {
    begin_loading(sim);
    load_chosen_vision(sim, path);
}

namespace {

using Handler = void (*)(Simulator& sim, int key);

// One key command: its code, the vision header switch that must be 1 for it
// to act (none: always), whether it leaves the help screen as it is (every
// other command hides it first, also when the vision file does not enable
// it), and what it does: a handler, or for a toggle key the engine switch
// and the status texts for off and on.
struct KeyCommand {
    int key;
    int vision::Header::*needs;
    int keeps_help;
    Handler run;
    int engine::EngineState::*toggled = nullptr;
    const char* off_text = nullptr;
    const char* on_text = nullptr;
};

constexpr int vision::Header::*always = nullptr;
constexpr int keeps_help = 1, hides_help = 0;

void show_personal_info(Simulator& sim, int) {
    if (sim.personal_info_visible) {
        sim.personal_info_visible = 0;
    } else {
        sim.personal_info_visible = 1;
        sim.about_visible = 0;
        sim.help_visible = 0;
    }
}

void toggle_about(Simulator& sim, int) {
    sim.personal_info_visible = 0;
    sim.help_visible = 0;
    sim.about_visible = sim.about_visible ? 0 : 1;
}

void select_eyes(Simulator& sim, int key) {
    constexpr const char* texts[] = {"Only LEFT eye", "Only RIGHT eye", "Both eyes"};
    sim.engine.eye_mode = key == key_f5 ? 2 : key == key_f6 ? 0 : 1;
    set_status(sim, texts[sim.engine.eye_mode]);
}

void toggle_auto_blink(Simulator& sim, int) {
    if (sim.auto_blink_interval != 0) {
        sim.auto_blink_interval = 0;
        set_status(sim, "Auto blink OFF");
    } else {
        sim.auto_blink_interval = auto_blink_on_interval;
        set_status(sim, "Auto blink ON");
    }
}

void add_floater(Simulator& sim, int) {
    add_random_floater(sim);
    sim.engine.floaters_active = 1;
    set_status_format(sim, "Incrementing floaters to: %d", sim.engine.particle_count);
}

void remove_floaters(Simulator& sim, int) {
    if (sim.engine.floaters_active != 1) return;
    drop_floaters(sim);
    set_status_format(sim, "Decrementing floaters to: %d", sim.engine.particle_count);
}

void step_tint_key(Simulator& sim, int key) {
    engine::EngineState& e = sim.engine;
    if (key == key_letter('E')) step_tint(sim, e.glasses_red, "red");
    else if (key == key_letter('R')) step_tint(sim, e.glasses_green, "green");
    else step_tint(sim, e.glasses_blue, "blue");
}

void more_blood_cells(Simulator& sim, int) {
    const int count = sim.engine.blood_cell_count + blood_cell_step;
    set_blood_cell_count(sim, std::min(count, engine::blood_cell_capacity));
    set_status_format(sim,
           count > engine::blood_cell_capacity ? "Incrementing blood cells to: MAX(%ld)"
                                               : "Incrementing blood cells to: %ld",
           long(sim.engine.blood_cell_count));
}

void fewer_blood_cells(Simulator& sim, int) {
    const int count = sim.engine.blood_cell_count - blood_cell_step;
    set_blood_cell_count(sim, std::max(count, 0));
    set_status_format(sim, count < 0 ? "Decrementing blood cells to: MIN(%ld)" : "Decrementing blood cells to: %ld",
           long(sim.engine.blood_cell_count));
}

void brighter_blood_cells(Simulator& sim, int) {
    float& b = sim.engine.blood_cell_brightness;
    const int limit = step_float(b, 0.01, -1e300, 0.4);
    set_status_format(sim, limit ? "Incrementing blood cells bright to: MAX(%f)" : "Incrementing blood cells bright to: %f",
           double(b));
}

void dimmer_blood_cells(Simulator& sim, int) {
    float& b = sim.engine.blood_cell_brightness;
    const int limit = step_float(b, -0.01, 0.0, 1e300);
    set_status_format(sim, limit ? "Decrementing blood cells bright to: MIN(%f)" : "Decrementing blood cells bright to: %f",
           double(b));
}

void more_cataract(Simulator& sim, int) {
    sim.engine.cataracts_active = 1;
    step_float(sim.engine.cataract_clarity, -0.1, 0.1, 1e300);
    set_status(sim, "Incrementing cataracts");
}

void less_cataract(Simulator& sim, int) {
    if (sim.engine.cataracts_active != 1) return;
    step_float(sim.engine.cataract_clarity, 0.1, -1e300, 1.0);
    set_status(sim, "Decrementing cataracts");
}

void myopia_digit(Simulator& sim, int key) { myopia_to(sim, key == key_0 ? 10 : key - key_0); }

void change_scene(Simulator& sim, int) {
    set_status(sim, "Changing scene");
    draw_frame_now(sim);
    next_scene(sim);
}

using vision::Header;
using engine::EngineState;

// Every key command; a key not listed does nothing at all.
constexpr KeyCommand key_commands[] = {
    {key_f1, always, keeps_help, [](Simulator& sim, int) { toggle_help(sim); }},
    {key_f2, always, keeps_help, show_personal_info},
    {key_letter('S'), always, keeps_help, toggle_about},
    {key_f8, always, keeps_help, [](Simulator& sim, int) { capture_command(sim); }},
    {key_f9, always, keeps_help, [](Simulator& sim, int) { toggle_recording(sim); }},
    {key_f3, always, hides_help, [](Simulator& sim, int) { load_default_vision(sim); }},
    {key_f4, always, hides_help, [](Simulator& sim, int) { load_personal_vision(sim); }},
    {key_f5, always, hides_help, select_eyes},
    {key_f6, always, hides_help, select_eyes},
    {key_f7, always, hides_help, select_eyes},
    {key_space, always, hides_help, [](Simulator& sim, int) { sim.blink_state = 3; }},
    {key_letter('A'), always, hides_help,
     [](Simulator& sim, int) { sim.eyelid_position = std::min(sim.eyelid_position + eyelid_step, eyelid_closed); }},
    {key_letter('Q'), always, hides_help,
     [](Simulator& sim, int) { sim.eyelid_position = std::max(sim.eyelid_position - eyelid_step, 0); }},
    {key_letter('Z'), always, hides_help, toggle_auto_blink},
    {key_letter('N'), always, hides_help, nullptr, &EngineState::floaters_active, "Deactivating floaters",
     "Activating floaters"},
    {key_letter('J'), always, hides_help, add_floater},
    {key_letter('K'), always, hides_help, remove_floaters},
    {key_letter('Y'), &Header::retina_shadow_on, hides_help, nullptr, &EngineState::retina_shadow_active,
     "Deactivating retina shadow", "Activating retina shadow"},
    {key_letter('W'), &Header::sunglasses_on, hides_help, nullptr, &EngineState::sunglasses_active, "Sun glasses OFF",
     "Sun glasses ON"},
    {key_letter('E'), &Header::sunglasses_on, hides_help, step_tint_key},
    {key_letter('R'), &Header::sunglasses_on, hides_help, step_tint_key},
    {key_letter('T'), &Header::sunglasses_on, hides_help, step_tint_key},
    {key_letter('P'), &Header::blood_cells_on, hides_help, more_blood_cells},
    {key_letter('O'), &Header::blood_cells_on, hides_help, fewer_blood_cells},
    {key_letter('I'), &Header::blood_cells_on, hides_help, brighter_blood_cells},
    {key_letter('U'), &Header::blood_cells_on, hides_help, dimmer_blood_cells},
    {key_letter('M'), &Header::myopia_on, hides_help, [](Simulator& sim, int) { toggle_myopia(sim); }},
    {key_0, &Header::myopia_on, hides_help, myopia_digit},
    {key_0 + 1, &Header::myopia_on, hides_help, myopia_digit},
    {key_0 + 2, &Header::myopia_on, hides_help, myopia_digit},
    {key_0 + 3, &Header::myopia_on, hides_help, myopia_digit},
    {key_0 + 4, &Header::myopia_on, hides_help, myopia_digit},
    {key_0 + 5, &Header::myopia_on, hides_help, myopia_digit},
    {key_0 + 6, &Header::myopia_on, hides_help, myopia_digit},
    {key_0 + 7, &Header::myopia_on, hides_help, myopia_digit},
    {key_0 + 8, &Header::myopia_on, hides_help, myopia_digit},
    {key_9, &Header::myopia_on, hides_help, myopia_digit},
    {key_letter('G'), &Header::cataracts_on, hides_help, nullptr, &EngineState::cataracts_active,
     "Deactivating cataracts", "Activating cataracts"},
    {key_letter('B'), &Header::cataracts_on, hides_help, more_cataract},
    {key_letter('V'), &Header::cataracts_on, hides_help, less_cataract},
    {key_letter('F'), &Header::flashes_on, hides_help, nullptr, &EngineState::flashes_active, "Flashes deactivateds",
     "Flashes at random times activateds"},
    {key_letter('C'), &Header::stars_on, hides_help, nullptr, &EngineState::stars_active, "Deactivating stars",
     "Activating stars"},
    {key_letter('X'), &Header::sac_refractions_on, hides_help, nullptr, &EngineState::sac_refractions_active,
     "Deactivating sac refractions", "Aactivating sac refractions"},
    {key_letter('D'), &Header::sparks_on, hides_help, nullptr, &EngineState::sparks_active, "Deactivating sparks",
     "Activating sparks"},
    {key_letter('L'), always, hides_help, change_scene},
};

// A key listed twice would leave its second row dead.
constexpr bool keys_unique() {
    for (size_t i = 0; i < std::size(key_commands); ++i)
        for (size_t j = i + 1; j < std::size(key_commands); ++j)
            if (key_commands[i].key == key_commands[j].key) return false;
    return true;
}
static_assert(keys_unique(), "a key has two rows in the key table");

}  // namespace

void run_key_command(Simulator& sim, int key) {
    for (const KeyCommand& c : key_commands) {
        if (c.key != key) continue;
        if (!c.keeps_help) sim.help_visible = 0;
        if (c.needs != always && sim.document.header.*c.needs != 1) return;
        if (c.run) c.run(sim, key);
        else toggle(sim, sim.engine.*c.toggled, c.off_text, c.on_text);
        return;
    }
}

}  // namespace shell
