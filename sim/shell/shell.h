// shell.h -- the simulator's state and its event handlers, free of any toolkit.
//
// The platform adapter owns the window and the event loop; it turns each event
// into one call below, with the simulator state passed by reference. Every
// platform operation the shell needs goes through platform::Platform, so the
// null platform with its settable clock runs the whole simulator in memory.
#pragma once

#include "common/random.h"
#include "sim/engine/engine_state.h"
#include "sim/platform/pictures.h"
#include "sim/platform/frame.h"
#include "sim/platform/platform.h"
#include "sim/shell/recording.h"
#include "visionfile/document.h"

namespace shell {

constexpr int frame_period_ms = 50;
constexpr int intro_ticks_before_start = 200;  // the start comes on the 201st tick
constexpr int startup_directory_size = 255;    // including the terminating zero
constexpr int status_text_size = 256;          // 255 characters and the zero
inline constexpr char window_title[] = "Vitrion simulator v2.0";

// The whole simulator: the vision document, the engine state, the frame and
// pictures, the one random generator, and the shell's own fields. Several
// megabytes: make exactly one, on the heap or with static lifetime.
struct Simulator {
    explicit Simulator(platform::Platform& platform_in) : platform(platform_in) {}
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    platform::Platform& platform;
    vision::Document document{};  // all zero until the default vision file is read
    engine::EngineState engine;
    platform::Frame frame;  // every effect and text is drawn here, then presented
    platform::Pictures pictures;
    Random random;

    // Shell fields.
    int view_x = 0;           // last pointer position: top-left of the scene window
    int view_y = 0;
    int busy = 0;             // 1 while a key loads a vision file; paint, mouse and keys ignored
    int first_tick_done = 0;  // set by the first frame-timer tick
    int intro_ticks = 0;      // frame-timer ticks counted in the intro phase
    char startup_directory[startup_directory_size] = {};

    // The eyelid and blinking: stepped by the frame, moved by Space, A, Q, Z;
    // the engine draws eyelid_position.
    int eyelid_position = 480;     // rows covered by the upper lid; 0 = open
    int blink_state = 1;           // 0 idle, 1 closing, 2 opening, 3 blink requested
    int auto_blink_interval = 1;   // seconds between automatic blinks, 0 = none
    int last_blink_time = 0;       // calendar second the last blink began

    // Overlay screens (the picture under them is dimmed) and the myopia switch.
    int help_visible = 0;
    int about_visible = 0;
    int personal_info_visible = 0;
    int myopia_active = 0;         // the scene picture holds a myopic blur

    // Status line.
    char status_text[status_text_size] = {};
    int status_visible = 0;
    long status_time = 0;     // calendar second at which status_text was set
    int help_seen = 0;        // 1 once the help screen has been drawn: no more hint

    // Folder the open-file dialog starts in; empty until a file was chosen,
    // then the folder of the last chosen file.
    char dialog_directory[platform::vision_path_size] = {};
    int file_pending = 0;  // 1 while the file chooser's answer is awaited (F4)

    // From the command line (command_line.h): start at the first tick
    // without waiting for the intro, and the vision file the start loads as
    // F4 would ("" none; emptied once loaded).
    int skip_intro = 0;
    char startup_file[platform::vision_path_size] = {};

    ClipRecording clip;  // F9
};

// Start-up: seeds the generator with the calendar second, records the
// working directory, reports the sound start-up (which always succeeds: no
// sound is ever played) and starts the frame timer (50 ms).
void on_create(Simulator& sim);

// The frame timer: first tick runs the start-up loader; every tick draws a
// frame; intro ticks count toward the start,
// which comes at once when the command line skips the intro.
void on_timer(Simulator& sim);

// Key commands, only while the simulation runs (keys.h codes). Auto-repeat
// calls this again for every repeat.
void on_key_down(Simulator& sim, int virtual_key);

// Escape released: destroys the window, in every state.
void on_key_up(Simulator& sim, int virtual_key);

// Pointer events in 640 x 480 screen coordinates.
void on_mouse_move(Simulator& sim, int x, int y);
void on_left_button_down(Simulator& sim, int x, int y);
void on_left_button_up(Simulator& sim, int x, int y);
void on_right_button_down(Simulator& sim, int x, int y);

// The window needs repainting: draws and presents a frame unless busy.
void on_paint(Simulator& sim);

// The answer of a file chooser that returned file_pending: the chosen
// path, or nullptr when the user cancelled. Ignored unless a chooser is
// waiting for it.
void on_file_chosen(Simulator& sim, const char* path);

// The program ends (after Platform::quit, or when the window is closed):
// a clip being recorded is thrown away, one being saved is waited for, and
// the frame timer stops.
void on_destroy(Simulator& sim);

}  // namespace shell
