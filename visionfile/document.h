// document.h -- the vision document: header, floater records and point tables.
//
// The header is held byte for byte as it lies in the file. Every field is a
// 4-byte little-endian int32 or float at a 4-aligned offset and every text
// field is a multiple of 4 bytes long, so a plain struct reproduces the file
// layout exactly on a little-endian host; the static_asserts below pin every
// offset.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>

namespace vision {

static_assert(std::endian::native == std::endian::little,
              "the vision file is little-endian and is read without conversion");

constexpr int picture_slots = 4;
constexpr int path_size = 256;          // 255 characters and the NUL
constexpr int comments_size = 32000;    // 31999 characters and the NUL
constexpr int streak_entries = 10;      // 0..4 left eye, 5..9 right eye
constexpr int streaks_per_eye = 5;
constexpr int streak_capacity = 6400;   // points of room per streak
constexpr int streak_max_points = 6399; // what the editor stores at most
constexpr int eyes = 2;                 // 0 left, 1 right
constexpr int max_floaters = 100;       // records per eye
constexpr int dot_capacity = 1024;      // dots of room per floater
constexpr int max_dots = 1023;          // what the editor stores at most
constexpr int header_size = 545232;
constexpr int record_size = 40;

// The text that marks an empty picture slot (compared with its NUL).
inline constexpr char unused_path[] = "Unused";

struct PictureSlot {
    char picture_path[path_size];  // source file chosen in the editor, or "Unused"
    int32_t picture_offset;        // where the embedded picture starts; 0 = none
};

struct Streak {
    int32_t x[streak_capacity];  // outline points in 640 x 480 screen pixels
    int32_t y[streak_capacity];
    int32_t point_count;         // points used
    int32_t when_seen;           // 0 always, 1 left-right, 2 up-down, 3 any movement
    float brightness;            // 0.0..1.0
};

struct Header {
    PictureSlot slots[picture_slots];
    int32_t myopia_on;
    int32_t myopia_dioptres;
    int32_t blood_cells_on;
    int32_t blood_cells_count;
    float blood_cells_brightness;
    int32_t cataracts_on;
    float cataract_clarity;
    int32_t flashes_on;
    int32_t sac_refractions_on;
    int32_t stars_on;
    int32_t sparks_on;
    int32_t retina_shadow_on;
    int32_t sunglasses_on;
    int32_t tint_red;
    int32_t tint_green;
    int32_t tint_blue;
    char comments[comments_size];
    Streak streak[streak_entries];
    int32_t floater_count[eyes];
};

struct FloaterRecord {
    int32_t dot_count;        // outline dots in the point tables
    int32_t dot_density;      // particles generated from each dot
    int32_t dot_size_x;       // particle width in pixels
    int32_t dot_size_y;       // particle height in pixels
    int32_t transparency;     // higher = lighter
    int32_t diffusion;        // spread of the dot walk
    int32_t floater_density;  // history length of the dot walk
    float movement_x;         // damping of horizontal motion
    float movement_y;         // damping of vertical motion
    int32_t points_offset;    // file offset of the X array, set by the writer
};

// The whole document, about 2.2 MB: allocate it once (static or on the heap).
struct Document {
    Header header;
    FloaterRecord records[eyes][max_floaters];
    // Floater i of eye e owns x[e][i][0..dot_count-1] and y[e][i][...]; the
    // entries beyond dot_count keep whatever they held before.
    int32_t x[eyes][max_floaters][dot_capacity];
    int32_t y[eyes][max_floaters][dot_capacity];
};

static_assert(sizeof(PictureSlot) == 260);
static_assert(sizeof(Streak) == 51212);
static_assert(offsetof(Streak, y) == 25600);
static_assert(offsetof(Streak, point_count) == 51200);
static_assert(offsetof(Streak, when_seen) == 51204);
static_assert(offsetof(Streak, brightness) == 51208);
static_assert(offsetof(Header, slots) + 3 * sizeof(PictureSlot) == 780);
static_assert(offsetof(PictureSlot, picture_offset) == 256);
static_assert(offsetof(Header, myopia_on) == 1040);
static_assert(offsetof(Header, myopia_dioptres) == 1044);
static_assert(offsetof(Header, blood_cells_on) == 1048);
static_assert(offsetof(Header, blood_cells_count) == 1052);
static_assert(offsetof(Header, blood_cells_brightness) == 1056);
static_assert(offsetof(Header, cataracts_on) == 1060);
static_assert(offsetof(Header, cataract_clarity) == 1064);
static_assert(offsetof(Header, flashes_on) == 1068);
static_assert(offsetof(Header, sac_refractions_on) == 1072);
static_assert(offsetof(Header, stars_on) == 1076);
static_assert(offsetof(Header, sparks_on) == 1080);
static_assert(offsetof(Header, retina_shadow_on) == 1084);
static_assert(offsetof(Header, sunglasses_on) == 1088);
static_assert(offsetof(Header, tint_red) == 1092);
static_assert(offsetof(Header, tint_green) == 1096);
static_assert(offsetof(Header, tint_blue) == 1100);
static_assert(offsetof(Header, comments) == 1104);
static_assert(offsetof(Header, streak) == 33104);
static_assert(offsetof(Header, floater_count) == 545224);
static_assert(sizeof(Header) == header_size);
static_assert(sizeof(FloaterRecord) == record_size);
static_assert(offsetof(FloaterRecord, movement_x) == 28);
static_assert(offsetof(FloaterRecord, points_offset) == 36);

// Puts the new-document defaults into `doc`: every path "Unused", one floater
// per eye, every record at its defaults (density 4, size 1 x 1, transparency
// 240, movement 0.8), every streak empty with brightness 0.5, myopia_dioptres
// 1, every other header byte 0. The point tables are left as they are.
void reset_to_new_document(Document& doc);

// The streak entries of eye e are e*5 .. e*5+4.
inline int first_streak_of_eye(int eye) { return eye * streaks_per_eye; }

}  // namespace vision
