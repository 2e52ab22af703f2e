// settings.cpp -- floaters, streaks and settings as a person would enter them in the editor.
#include "settings.h"

#include <cmath>
#include <cstdio>

#include "common/random.h"

namespace defaultvision {
namespace {

constexpr float two_pi = 6.2831853f;
constexpr char comments[] =
    "This is the default vision of the Vitrion simulator.\r\n"
    "\r\n"
    "It shows a person with floaters in both eyes: in the left eye a ring "
    "(the kind left when the vitreous comes away from the optic nerve), a long "
    "curled thread and a grey cloud; in the right eye two crossing strands, a "
    "small ring and a few specks. Move the mouse to move the eyes: the floaters "
    "drift and slowly settle, and streaks of light flash at the edge of view.\r\n"
    "\r\n"
    "Every effect is switched on so that each key works from the start: a myopia "
    "of -3 D, cataract haze, amber sunglasses, the shadow of the retinal vessels, "
    "retina blood cells against the bright sky, flashes, stars and sparks.\r\n"
    "\r\n"
    "Make your own vision file with the editor and load it with F4.";

// Floater settings, as the editor's sliders set them.
struct Look {
    int density, size_x, size_y, transparency, diffusion, floater_density;
    float movement_x, movement_y;
};

// Appends a floater of eye `eye` with `look`; returns its index.
int add_floater(vision::Document& doc, int eye, const Look& look) {
    const int k = doc.header.floater_count[eye]++;
    vision::FloaterRecord& r = doc.records[eye][k];
    r = vision::FloaterRecord{};
    r.dot_density = look.density;
    r.dot_size_x = look.size_x;
    r.dot_size_y = look.size_y;
    r.transparency = look.transparency;
    r.diffusion = look.diffusion;
    r.floater_density = look.floater_density;
    r.movement_x = look.movement_x;
    r.movement_y = look.movement_y;
    return k;
}

// Adds a dot of floater k, kept inside the map and within the dot capacity.
void add_dot(vision::Document& doc, int eye, int k, float x, float y) {
    vision::FloaterRecord& r = doc.records[eye][k];
    const int ix = int(std::lround(x)), iy = int(std::lround(y));
    if (ix <= 0 || ix >= 800 || iy <= 0 || iy >= 600 || r.dot_count >= vision::max_dots) return;
    doc.x[eye][k][r.dot_count] = ix;
    doc.y[eye][k][r.dot_count] = iy;
    ++r.dot_count;
}

// A ring of `dots` dots, slightly irregular like a hand-drawn circle.
void ring(vision::Document& doc, int eye, int k, float cx, float cy, float radius, int dots, Random& random) {
    for (int i = 0; i < dots; ++i) {
        const float a = two_pi * float(i) / float(dots);
        const float r = radius * (1.0f + 0.06f * std::sin(a * 3.0f)) + float(random.next_mod(5) - 2);
        add_dot(doc, eye, k, cx + r * std::cos(a), cy + r * 0.85f * std::sin(a));
    }
}

// A thread traced from (x, y) with a slowly turning heading, one dot every few pixels.
void strand(vision::Document& doc, int eye, int k, float x, float y, float heading, float turn, int dots,
            float spacing, Random& random) {
    for (int i = 0; i < dots; ++i) {
        add_dot(doc, eye, k, x, y);
        heading += turn + float(random.next_mod(21) - 10) * 0.012f;
        turn *= 0.995f;
        x += std::cos(heading) * spacing;
        y += std::sin(heading) * spacing;
    }
}

// A cloud of dots scattered round a centre, denser in the middle.
void cloud(vision::Document& doc, int eye, int k, float cx, float cy, float rx, float ry, int dots,
           Random& random) {
    for (int i = 0; i < dots; ++i) {
        const float a = two_pi * float(random.next()) / 32768.0f;
        const float r = float(random.next()) / 32768.0f;
        add_dot(doc, eye, k, cx + rx * r * std::cos(a), cy + ry * r * std::sin(a));
    }
}

// A traced streak of light: an arc `thickness` points wide, one point per pixel.
void streak(vision::Document& doc, int entry, float cx, float cy, float radius, float from, float to, int thickness,
            int when_seen, float brightness) {
    vision::Streak& s = doc.header.streak[entry];
    s.point_count = 0;
    s.when_seen = when_seen;
    s.brightness = brightness;
    for (int layer = 0; layer < thickness; ++layer) {
        const float r = radius + float(layer);
        const int points = int(std::fabs(to - from) * r);
        for (int i = 0; i <= points && s.point_count < vision::streak_max_points; ++i) {
            const float a = from + (to - from) * float(i) / float(points);
            const int x = int(std::lround(cx + r * std::cos(a))), y = int(std::lround(cy + r * std::sin(a)));
            if (x <= 0 || x >= 640 || y <= 0 || y >= 480) continue;
            s.x[s.point_count] = x;
            s.y[s.point_count] = y;
            ++s.point_count;
        }
    }
}

}  // namespace

void fill_default_vision(vision::Document& doc) {
    vision::Header& h = doc.header;
    h.myopia_on = 1;
    h.myopia_dioptres = 3;
    h.blood_cells_on = 1;
    h.blood_cells_count = 300;
    h.blood_cells_brightness = 0.1f;
    h.cataracts_on = 1;
    h.cataract_clarity = 0.8f;
    h.flashes_on = 1;
    h.sac_refractions_on = 1;
    h.stars_on = 1;
    h.sparks_on = 1;
    h.retina_shadow_on = 1;
    h.sunglasses_on = 1;
    h.tint_red = 214;
    h.tint_green = 178;
    h.tint_blue = 120;
    std::snprintf(h.comments, sizeof h.comments, "%s", comments);

    Random random;
    random.seed(2024);
    h.floater_count[0] = h.floater_count[1] = 0;

    // Left eye.
    int k = add_floater(doc, 0, {6, 2, 2, 215, 1, 4, 0.93f, 0.92f});
    ring(doc, 0, k, 350, 250, 34, 70, random);
    k = add_floater(doc, 0, {5, 1, 1, 225, 1, 3, 0.90f, 0.90f});
    strand(doc, 0, k, 430, 330, -0.5f, 0.025f, 160, 3.0f, random);
    k = add_floater(doc, 0, {4, 2, 2, 238, 3, 6, 0.88f, 0.86f});
    cloud(doc, 0, k, 520, 220, 55, 40, 120, random);
    k = add_floater(doc, 0, {8, 1, 1, 222, 2, 2, 0.95f, 0.94f});
    cloud(doc, 0, k, 250, 390, 8, 6, 6, random);

    // Right eye.
    k = add_floater(doc, 1, {5, 1, 2, 220, 1, 3, 0.91f, 0.92f});
    strand(doc, 1, k, 300, 200, 0.4f, -0.012f, 150, 3.0f, random);
    k = add_floater(doc, 1, {5, 2, 1, 228, 1, 3, 0.92f, 0.90f});
    strand(doc, 1, k, 330, 360, -0.9f, 0.010f, 120, 3.0f, random);
    k = add_floater(doc, 1, {6, 2, 2, 218, 1, 4, 0.94f, 0.93f});
    ring(doc, 1, k, 470, 300, 20, 44, random);
    k = add_floater(doc, 1, {7, 1, 1, 215, 2, 2, 0.95f, 0.95f});
    cloud(doc, 1, k, 560, 180, 18, 12, 10, random);
    k = add_floater(doc, 1, {4, 2, 2, 240, 3, 6, 0.87f, 0.88f});
    cloud(doc, 1, k, 230, 300, 45, 35, 90, random);

    // Streaks of light at the edge of view: the left eye sees one while the
    // eyes move sideways, the right eye one with any movement and a faint one always.
    streak(doc, 0, 700, 240, 650, 2.78f, 3.50f, 2, 1, 0.6f);
    streak(doc, 1, 600, 120, 560, 2.90f, 3.25f, 1, 3, 0.45f);
    streak(doc, 5, -60, 240, 650, -0.36f, 0.36f, 2, 3, 0.55f);
    streak(doc, 6, 320, 700, 660, -1.95f, -1.75f, 1, 0, 0.25f);
}

}  // namespace defaultvision
