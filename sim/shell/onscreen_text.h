// onscreen_text.h -- the status line, its hint, and the help, about and personal information screens.
//
// Everything is drawn into the frame through the platform's text
// renderer, just before a frame is presented.
#pragma once

#include "sim/platform/platform.h"
#include "visionfile/document.h"

namespace shell {

struct Simulator;

// Text styles: the style number is also the font number.
constexpr int style_title = 0;    // 24 px, white
constexpr int style_heading = 1;  // 20 px, yellow: headings, status line, hint
constexpr int style_entry = 2;    // 16 px, cyan: key names and descriptions

constexpr int status_x = 10;
constexpr int status_y = 454;
constexpr int status_lifetime_seconds = 3;  // shown while now <= set time + 3
inline constexpr char hint_text[] = "Press F1 or click any mouse button to get help";

// The colour of text style `style` (0..2).
platform::Rgb style_colour(int style);

// Puts `text` (cut at 255 characters) on the status line from now on.
void set_status(Simulator& sim, const char* text);

// set_status with a printf format.
void set_status_format(Simulator& sim, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Draws `text` with a one-pixel black shadow: black at (x+1, y+1), then the
// style's colour at (x, y), in the style's font.
void draw_shadowed_text(Simulator& sim, const char* text, int x, int y, int style);

// The status line of one frame: the current status text, else (when
// `with_hint` and the help screen was never drawn) the hint; then expires the
// status text once its time is up. The text is still drawn in the frame in
// which it expires.
void draw_status_line(Simulator& sim, int with_hint);

// One text of the help screen: a heading or an entry's key or description.
struct HelpItem {
    int x;
    int row;      // drawn at y = 14 * row + 4
    int style;
    const char* text;
};
constexpr int help_item_capacity = 96;

// Lays the help screen out for the vision file `header` enables: the title,
// then three columns of headings and entries. Fills `items` (capacity
// help_item_capacity) and returns how many were used.
int help_layout(const vision::Header& header, HelpItem* items);

// y of help row `row`.
constexpr int help_row_y(int row) { return 14 * row + 4; }

void draw_help_screen(Simulator& sim);
void draw_about_screen(Simulator& sim);

// The vision file's comments wrapped into a rectangle, with a two-pixel
// black shadow; empty comments draw nothing.
void draw_personal_info_screen(Simulator& sim);

}  // namespace shell
