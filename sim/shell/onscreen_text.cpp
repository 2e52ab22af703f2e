// onscreen_text.cpp -- the status line, its hint, and the help, about and personal information screens.
#include "sim/shell/onscreen_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "sim/shell/shell.h"

namespace shell {

namespace {

constexpr platform::Rgb black{0, 0, 0};
constexpr platform::Rgb white{255, 255, 255};

// Key and description columns of the help screen.
constexpr int column_key_x[3] = {20, 230, 440};
constexpr int column_text_x[3] = {50, 260, 470};

struct Entry {
    const char* key;
    const char* text;
};

// Appends to a help layout without ever writing past its capacity.
struct LayoutWriter {
    HelpItem* items;
    int count = 0;

    void add(int x, int row, int style, const char* text) {
        if (count < help_item_capacity) items[count++] = HelpItem{x, row, style, text};
    }
    void heading(int column, int row, const char* text) {
        add(column_key_x[column], row, style_heading, text);
    }
    void entry(int column, int row, const Entry& e) {
        add(column_key_x[column], row, style_entry, e.key);
        add(column_text_x[column], row, style_entry, e.text);
    }
    // A section placed by the running row counter: heading at n + 1, entries
    // from n + 3 on, and n moves to the row after the last entry. `shown`
    // picks which of the entries appear.
    void section(int column, int& n, const char* title, const Entry* entries, const int* shown,
                 int entry_count) {
        heading(column, n + 1, title);
        int row = n + 3;
        for (int i = 0; i < entry_count; ++i) {
            if (shown && !shown[i]) continue;
            entry(column, row++, entries[i]);
        }
        n = row;
    }
};

}  // namespace

platform::Rgb style_colour(int style) {
    switch (style) {
        case style_title: return white;
        case style_heading: return platform::Rgb{255, 255, 25};
        default: return platform::Rgb{0, 255, 255};
    }
}

void set_status(Simulator& sim, const char* text) {
    std::strncpy(sim.status_text, text, status_text_size - 1);
    sim.status_text[status_text_size - 1] = '\0';
    sim.status_visible = 1;
    sim.status_time = sim.platform.calendar_seconds();
}

void set_status_format(Simulator& sim, const char* format, ...) {
    char text[status_text_size];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    set_status(sim, text);
}

void draw_shadowed_text(Simulator& sim, const char* text, int x, int y, int style) {
    platform::TextRun run{text, x + 1, y + 1, style, black};
    sim.platform.draw_text(sim.frame, run);
    run.x = x;
    run.y = y;
    run.colour = style_colour(style);
    sim.platform.draw_text(sim.frame, run);
}

void draw_status_line(Simulator& sim, int with_hint) {
    if (sim.status_visible == 1) {
        draw_shadowed_text(sim, sim.status_text, status_x, status_y, style_heading);
    } else if (with_hint && sim.help_seen == 0) {
        // The hint goes through status_text but leaves status_visible at 0.
        std::strncpy(sim.status_text, hint_text, status_text_size - 1);
        sim.status_text[status_text_size - 1] = '\0';
        draw_shadowed_text(sim, sim.status_text, status_x, status_y, style_heading);
    }
    if (sim.status_visible == 1 &&
        sim.platform.calendar_seconds() > sim.status_time + status_lifetime_seconds) {
        sim.status_visible = 0;
    }
}

int help_layout(const vision::Header& h, HelpItem* items) {
    LayoutWriter w{items};
    w.add(10, 0, style_title, "Vitrion Simulator v2.0 Help");

    // Column 1: general keys and floaters, then the optional sections.
    static constexpr Entry general[] = {
        {"ESC", "Exit the simulator."},  {"F1", "Show this help."},
        {"F2", "Show personal info."},   {"F5", "Both eyes."},
        {"F6", "Only left eye."},        {"F7", "Only right eye."},
        {"SPC", "Blink eyes."},          {"Q", "Open eyes."},
        {"A", "Close eyes."},            {"Z", "Automatic blink ON/OFF."},
        {"S", "About vitrion v2.0."},
    };
    static constexpr Entry floaters[] = {
        {"N", "Floaters ON/OFF."}, {"J", "Add random floater."}, {"K", "Kill some floaters."}};
    w.heading(0, 2, "General.");
    for (int i = 0; i < 11; ++i) w.entry(0, 4 + i, general[i]);
    w.heading(0, 16, "Floaters.");
    for (int i = 0; i < 3; ++i) w.entry(0, 18 + i, floaters[i]);

    int n = 21;
    if (h.retina_shadow_on == 1) {
        static constexpr Entry shadow[] = {{"Y", "Retina shadow ON/OFF."}};
        w.section(0, n, "Retina shadow.", shadow, nullptr, 1);
    }
    if (h.sunglasses_on == 1) {
        static constexpr Entry glasses[] = {{"W", "Sun glasses ON/OFF."},
                                            {"E", "Red tint"},
                                            {"R", "Green tint"},
                                            {"T", "Blue tint"}};
        w.section(0, n, "Sun glasses.", glasses, nullptr, 4);
    }

    // Column 2: the blood cells sit at fixed rows, the rest follow the counter.
    n = 2;
    if (h.blood_cells_on == 1) {
        static constexpr Entry cells[] = {{"P", "more cells."},
                                          {"O", "less cells."},
                                          {"I", "more brilliants."},
                                          {"U", "less brilliants."}};
        w.heading(1, 2, "Retina blood cells.");
        for (int i = 0; i < 4; ++i) w.entry(1, 4 + i, cells[i]);
        n = 8;
    }
    if (h.myopia_on == 1) {
        static constexpr Entry myopia[] = {{"M", "Miopy ON/OFF"}, {"1-0", "-1 to -10 dioptries."}};
        w.section(1, n, "Miopy.", myopia, nullptr, 2);
    }
    if (h.cataracts_on == 1) {
        static constexpr Entry cataracts[] = {
            {"G", "Cataracts ON/OFF"}, {"B", "Increase cataract."}, {"V", "Decrease cataract."}};
        w.section(1, n, "Cataracts.", cataracts, nullptr, 3);
    }
    const int flash_shown[4] = {h.flashes_on == 1, h.stars_on == 1, h.sac_refractions_on == 1,
                                h.sparks_on == 1};
    if (flash_shown[0] || flash_shown[1] || flash_shown[2] || flash_shown[3]) {
        static constexpr Entry flashes[] = {{"F", "Flash ON/OFF"},
                                            {"C", "Stars ON/OFF"},
                                            {"X", "Sac refractions ON/OFF"},
                                            {"D", "Sparks"}};
        w.section(1, n, "Flashes of light.", flashes, flash_shown, 4);
    }
    static constexpr Entry scene[] = {{"L", "Changing scene"}};
    w.section(1, n, "Scene.", scene, nullptr, 1);

    // Column 3: fixed.
    w.heading(2, 2, "More simulations.");
    w.entry(2, 4, {"F3", "Load default simulation."});
    w.entry(2, 5, {"F4", "Load personal simulation."});
    w.heading(2, 7, "Capture screen.");
    w.entry(2, 9, {"F8", "Save screen to disk."});
    w.entry(2, 10, {"F9", "Record a clip."});
    return w.count;
}

void draw_help_screen(Simulator& sim) {
    HelpItem items[help_item_capacity];
    const int count = help_layout(sim.document.header, items);
    for (int i = 0; i < count; ++i) {
        const HelpItem& item = items[i];
        draw_shadowed_text(sim, item.text, item.x, help_row_y(item.row), item.style);
    }
}

void draw_about_screen(Simulator& sim) {
    draw_shadowed_text(sim, "Vitrion Simulator v2.0", 10, 10, style_title);
    draw_shadowed_text(sim, "About...", 20, 58, style_heading);
    draw_shadowed_text(sim,
                       "This version is programmed under DirectX trying to show the floaters "
                       "experience in a",
                       20, 106, style_entry);
    draw_shadowed_text(sim, "realistic way.", 20, 122, style_entry);
    draw_shadowed_text(sim, ".", 50, 138, style_entry);
}

void draw_personal_info_screen(Simulator& sim) {
    const char* comments = sim.document.header.comments;
    // A file may fill the whole field without a terminating zero: the text
    // then ends at the field's last byte instead of running past it.
    const size_t length = strnlen(comments, vision::comments_size);
    if (length == 0) return;
    const char* text = comments;
    char bounded[vision::comments_size];
    if (length == vision::comments_size) {
        std::memcpy(bounded, comments, vision::comments_size - 1);
        bounded[vision::comments_size - 1] = '\0';
        text = bounded;
    }
    platform::TextRun run{text, 0, 0, style_entry, black, 1, platform::Rect{12, 12, 632, 432}};
    sim.platform.draw_text(sim.frame, run);
    run.colour = white;
    run.box = platform::Rect{10, 10, 630, 430};
    sim.platform.draw_text(sim.frame, run);
}

}  // namespace shell
