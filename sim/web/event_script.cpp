// event_script.cpp -- the event script runner shared by the page's test hook and the desktop frame tool.
#include "sim/web/event_script.h"

#include <cstdio>
#include <cstdlib>

namespace web_test {

std::string frame_hash(const platform::Frame& frame) {
    uint64_t h = 14695981039346656037ull;
    for (uint16_t p : frame.pixels) {
        h = (h ^ (p & 0xFFu)) * 1099511628211ull;
        h = (h ^ (p >> 8)) * 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

int run_event_script(shell::Simulator& sim, const char* script, ScriptClock clock, std::string& hashes) {
    const char* p = script;
    while (*p) {
        const char kind = *p++;
        char* end = const_cast<char*>(p);
        const long n = std::strtol(p, &end, 10);
        const int has_number = end != p;
        p = end;
        switch (kind) {
        case 't':
            for (long i = 0; i < (has_number ? n : 1); ++i) {
                *clock.steady_ms += shell::frame_period_ms;
                shell::on_timer(sim);
                hashes += frame_hash(sim.frame);
                hashes += '\n';
            }
            break;
        case 'k':
            if (!has_number) return 0;
            shell::on_key_down(sim, int(n));
            break;
        case 'u':
            if (!has_number) return 0;
            shell::on_key_up(sim, int(n));
            break;
        case 'm': {
            if (!has_number || *p != ':') return 0;
            const long y = std::strtol(p + 1, &end, 10);
            if (end == p + 1) return 0;
            p = end;
            shell::on_mouse_move(sim, int(n), int(y));
            break;
        }
        case 'l':
            shell::on_left_button_down(sim, sim.view_x, sim.view_y);
            shell::on_left_button_up(sim, sim.view_x, sim.view_y);
            break;
        case 'r':
            shell::on_right_button_down(sim, sim.view_x, sim.view_y);
            break;
        case 's':
            if (!has_number) return 0;
            *clock.calendar_seconds += n;
            break;
        default:
            return 0;
        }
        if (*p == ',') ++p;
        else if (*p) return 0;
    }
    return 1;
}

}  // namespace web_test
