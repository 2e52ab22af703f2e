// fuzz_simulator.cpp -- the whole simulator on the null platform, run on a vision
// file whose fields the input overwrites: start-up loader, start of the
// simulation (reset scene from vision settings), frames, pointer moves and
// command keys. After every step the engine's counts must stay inside their
// tables; the sanitizers catch every bad access on the way.
//
// Input: byte 0 gives the number of patches (low 5 bits, at most 24; the
// other bits are unused). Each patch is 6 bytes: a
// field selector, a value mode (even: the 4 value bytes as they are; odd: an
// entry of the table of boundary values) and 4 value bytes. The bytes after
// the patches are events (at most 8): keys, pointer moves or frames. Frames
// are drawn at the start (one intro frame, one as the simulation starts), by
// the keys that draw one themselves and on frame events only: a frame costs
// far more than a key, so an input that wants to see a key's effect drawn
// ends with a frame event. Eight events reach every pair and most triples
// of commands; sixteen, with frames and captures at sanitized speed, held
// the target near 80 runs a second.
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "sim/engine/engine.h"
#include "sim/platform/jpeg_decode.h"
#include "sim/platform/pictures.h"
#include "sim/shell/keys.h"
#include "sim/shell/shell.h"
#include "sim/platform/null_platform.h"
#include "visionfile/writer.h"

namespace {

constexpr int max_patches = 24;
constexpr int max_events = 8;
constexpr int base_floaters = 2;  // per eye in the base document
constexpr int base_dots = 6;

int32_t float_bits(float f) {
    int32_t v;
    std::memcpy(&v, &f, 4);
    return v;
}

// Values at or past the limits of every count, offset and float.
const int32_t boundary_values[] = {
    0, 1, -1, 2, 9, 10, 11, 99, 100, 101, 255, 256, 1000, 1001, 1023, 1024, 1025, 6399, 6400, 6401,
    545232, 545231, 1 << 20, INT_MAX, INT_MIN, INT_MAX - 3,
    float_bits(NAN), float_bits(INFINITY), float_bits(-INFINITY), float_bits(1e30f), float_bits(-1e30f),
    float_bits(0.5f), float_bits(0.99f), float_bits(1.5f), float_bits(-0.5f), float_bits(3e9f),
};

// File offsets of the fields the patches aim at, for the base document.
std::vector<long> patch_targets() {
    std::vector<long> t;
    for (int k = 0; k < vision::picture_slots; ++k)
        t.push_back(long(offsetof(vision::Header, slots)) + k * sizeof(vision::PictureSlot) + 256);
    for (size_t at = offsetof(vision::Header, myopia_on); at < offsetof(vision::Header, comments); at += 4)
        t.push_back(long(at));
    for (int s : {0, 4, 5, 9}) {
        const long entry = long(offsetof(vision::Header, streak)) + s * long(sizeof(vision::Streak));
        for (long field : {long(offsetof(vision::Streak, point_count)), long(offsetof(vision::Streak, when_seen)),
                           long(offsetof(vision::Streak, brightness)), 0L, long(offsetof(vision::Streak, y))})
            t.push_back(entry + field);
    }
    t.push_back(offsetof(vision::Header, floater_count));
    t.push_back(offsetof(vision::Header, floater_count) + 4);
    for (int r = 0; r < 2 * base_floaters; ++r)
        for (int word = 0; word < 10; ++word) t.push_back(vision::header_size + 40L * r + 4L * word);
    return t;
}

uint8_t base_grey(int x, int y) { return uint8_t((x * 7 + y * 3) % 5 == 0 ? 0 : 200); }

// The base document as file bytes: every effect on, two floaters per eye,
// streaks, a scene and an intro JPEG and a small grey-map TGA.
const std::vector<uint8_t>& base_file() {
    static std::vector<uint8_t> bytes;
    if (!bytes.empty()) return bytes;
    const std::string folder = fuzz::scratch_folder();
    std::vector<uint8_t> rgb(96 * 64 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 13);
    const std::string scene = folder + "/scene.jpg", intro = folder + "/intro.jpg", grey = folder + "/grey.tga";
    fuzz::require(platform::write_jpeg(scene.c_str(), 50, rgb.data(), 96, 64) == 1, "scene seed written");
    fuzz::require(platform::write_jpeg(intro.c_str(), 50, rgb.data(), 64, 48) == 1, "intro seed written");
    fuzz::require(fuzz::write_bytes(grey, fuzz::make_tga(40, 30, 0, base_grey)) == 1, "TGA seed written");

    auto doc = std::make_unique<vision::Document>();
    vision::reset_to_new_document(*doc);
    vision::Header& h = doc->header;
    std::strcpy(h.slots[0].picture_path, scene.c_str());
    std::strcpy(h.slots[1].picture_path, scene.c_str());
    std::strcpy(h.slots[2].picture_path, intro.c_str());
    std::strcpy(h.slots[3].picture_path, grey.c_str());
    h.myopia_on = 1;
    h.myopia_dioptres = 2;
    h.blood_cells_on = 1;
    h.blood_cells_count = 50;
    h.blood_cells_brightness = 0.2f;
    h.cataracts_on = h.flashes_on = h.sac_refractions_on = h.stars_on = h.sparks_on = 1;
    h.retina_shadow_on = h.sunglasses_on = 1;
    h.cataract_clarity = 0.7f;
    h.tint_red = 200;
    h.tint_green = 100;
    h.tint_blue = 50;
    std::strcpy(h.comments, "fuzz base");
    for (int s = 0; s < vision::streak_entries; ++s) {
        h.streak[s].point_count = 5;
        h.streak[s].when_seen = s % 4;
        for (int p = 0; p < 5; ++p) {
            h.streak[s].x[p] = 100 + 10 * p + s;
            h.streak[s].y[p] = 200 + 3 * p;
        }
    }
    for (int e = 0; e < vision::eyes; ++e) {
        h.floater_count[e] = base_floaters;
        for (int i = 0; i < base_floaters; ++i) {
            vision::FloaterRecord& r = doc->records[e][i];
            r.dot_count = base_dots;
            r.diffusion = 2 + i;
            r.floater_density = 3;
            for (int d = 0; d < base_dots; ++d) {
                doc->x[e][i][d] = 300 + 20 * d + e;
                doc->y[e][i][d] = 250 + 10 * i;
            }
        }
    }
    const std::string path = folder + "/base.flt";
    fuzz::require(vision::write_vision_file(*doc, path.c_str()) == 1, "base document written");
    fuzz::require(fuzz::read_bytes(path, bytes) == 1, "base document read back");
    return bytes;
}

// Events: command keys, pointer positions and plain frames.
enum EventKind { key_event, move_event, frame_event };
struct Event {
    EventKind kind;
    int a, b;
};
const Event events[] = {
    {key_event, shell::key_f1, 0}, {key_event, shell::key_f2, 0}, {key_event, shell::key_f3, 0},
    {key_event, shell::key_f4, 0}, {key_event, shell::key_f5, 0}, {key_event, shell::key_f6, 0},
    {key_event, shell::key_f7, 0}, {key_event, shell::key_f8, 0}, {key_event, shell::key_space, 0},
    {key_event, '0', 0}, {key_event, '1', 0}, {key_event, '5', 0}, {key_event, '9', 0},
    {key_event, 'A', 0}, {key_event, 'B', 0}, {key_event, 'C', 0}, {key_event, 'D', 0},
    {key_event, 'E', 0}, {key_event, 'F', 0}, {key_event, 'G', 0}, {key_event, 'I', 0},
    {key_event, 'J', 0}, {key_event, 'K', 0}, {key_event, 'L', 0}, {key_event, 'M', 0},
    {key_event, 'N', 0}, {key_event, 'O', 0}, {key_event, 'P', 0}, {key_event, 'Q', 0},
    {key_event, 'R', 0}, {key_event, 'S', 0}, {key_event, 'T', 0}, {key_event, 'U', 0},
    {key_event, 'V', 0}, {key_event, 'W', 0}, {key_event, 'X', 0}, {key_event, 'Y', 0},
    {key_event, 'Z', 0},
    {move_event, 0, 0}, {move_event, 639, 479}, {move_event, 320, 240}, {move_event, 100, 400},
    {move_event, 600, 20}, {frame_event, 0, 0},
};
constexpr int event_kinds = sizeof events / sizeof events[0];

void check_state(const shell::Simulator& sim) {
    const engine::EngineState& e = sim.engine;
    fuzz::require(e.particle_count >= 0 && e.particle_count <= engine::particle_limit, "particle_count within 0..99999");
    fuzz::require(e.blood_cell_count >= 0 && e.blood_cell_count <= engine::blood_cell_capacity,
                  "blood_cell_count within the table");
    fuzz::require(e.star_count >= 0 && e.star_count <= engine::star_capacity, "star_count within the table");
    fuzz::require(e.spark_count >= 0 && e.spark_count <= engine::spark_capacity, "spark_count within the table");
    fuzz::require(e.eye_mode >= 0 && e.eye_mode <= 2, "eye_mode is 0, 1 or 2");
    fuzz::require(sim.eyelid_position >= 0 && sim.eyelid_position <= 480, "eyelid within the screen");
    for (const platform::DecodedPicture* p : {&sim.pictures.scene, &sim.pictures.intro, &sim.pictures.blurred})
        fuzz::require(p->rgb.size() == size_t(p->width) * size_t(p->height) * 3 &&
                          long(p->width) * p->height <= platform::max_picture_pixels,
                      "pictures hold their pixels within the limits");
    fuzz::require(sim.pictures.grey_map.empty() ||
                      sim.pictures.grey_map.size() == size_t(platform::grey_map_width) * platform::grey_map_height,
                  "the grey map is absent or 640 x 480");
}

// Calls f on every column of the particle table.
template <class F>
void for_each_column(engine::ParticleTable& p, F f) {
    static_assert(sizeof p == 12 * sizeof p.eye, "a column was added: list it here");
    for (std::vector<int32_t>* column : {&p.eye, &p.x, &p.y, &p.width, &p.height, &p.transparency}) f(*column);
    for (std::vector<float>* column :
         {&p.velocity_x, &p.velocity_y, &p.position_x, &p.position_y, &p.damping_x, &p.damping_y})
        f(*column);
}

// Puts every field of `sim` back to what `pristine` holds, so that a run
// depends on its input alone. A run starts from a simulator as newly made;
// reusing the memory of the one kept across runs costs a fraction of making
// it afresh (megabytes of rows to allocate and clear), which dominated the
// run. The particle rows are zeroed in place, as a new table holds them
// (copying them would go through the sanitizers' memmove, a byte at a time).
// The engine's frame tables are kept: a cache whose every table is checked
// against what it was made from before use, so keeping the last run's saves
// rebuilding them without changing a pixel. The clip recorder is never
// started (F9 is not among the events).
void restore(shell::Simulator& sim, const shell::Simulator& pristine) {
    engine::FrameTables tables = std::move(sim.engine.tables);
    engine::ParticleTable particles = std::move(sim.engine.particles);
    sim.engine = pristine.engine;  // its frame and particle tables hold no memory
    sim.engine.tables = std::move(tables);
    sim.engine.particles = std::move(particles);
    for_each_column(sim.engine.particles,
                    [](auto& column) { std::memset(column.data(), 0, column.size() * sizeof column[0]); });
    sim.document = pristine.document;
    sim.frame = pristine.frame;
    sim.pictures = pristine.pictures;
    sim.random = pristine.random;
    sim.view_x = pristine.view_x;
    sim.view_y = pristine.view_y;
    sim.busy = pristine.busy;
    sim.first_tick_done = pristine.first_tick_done;
    sim.intro_ticks = pristine.intro_ticks;
    std::memcpy(sim.startup_directory, pristine.startup_directory, sizeof sim.startup_directory);
    sim.eyelid_position = pristine.eyelid_position;
    sim.blink_state = pristine.blink_state;
    sim.auto_blink_interval = pristine.auto_blink_interval;
    sim.last_blink_time = pristine.last_blink_time;
    sim.help_visible = pristine.help_visible;
    sim.about_visible = pristine.about_visible;
    sim.personal_info_visible = pristine.personal_info_visible;
    sim.myopia_active = pristine.myopia_active;
    std::memcpy(sim.status_text, pristine.status_text, sizeof sim.status_text);
    sim.status_visible = pristine.status_visible;
    sim.status_time = pristine.status_time;
    sim.help_seen = pristine.help_seen;
    std::memcpy(sim.dialog_directory, pristine.dialog_directory, sizeof sim.dialog_directory);
    sim.file_pending = pristine.file_pending;
    sim.clip.start_ms = pristine.clip.start_ms;
    sim.clip.first_frame_pending = pristine.clip.first_frame_pending;
    sim.clip.shown_second = pristine.clip.shown_second;
    std::memcpy(sim.clip.shown_text, pristine.clip.shown_text, sizeof sim.clip.shown_text);
}

// The simulator every run starts from, with frame and particle tables that
// hold no memory (restore keeps the run's own).
std::unique_ptr<shell::Simulator> make_pristine(platform::NullPlatform& fake) {
    auto pristine = std::make_unique<shell::Simulator>(fake);
    engine::FrameTables& t = pristine->engine.tables;
    t.shadow = {};
    for (engine::TailTables& tail : t.tails) tail.chain[0] = tail.chain[1] = {};
    for_each_column(pristine->engine.particles, [](auto& column) { column = {}; });
    return pristine;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static const std::vector<long> targets = patch_targets();
    static std::vector<uint8_t> file;  // kept, so its memory is reused
    file = base_file();
    const int patches = std::min<int>(data[0] & 31, max_patches);
    size_t at = 1;
    for (int p = 0; p < patches && at + 6 <= size; ++p, at += 6) {
        const long where = targets[data[at] % targets.size()];
        int32_t value;
        std::memcpy(&value, data + at + 2, 4);
        if (data[at + 1] & 1)
            value = boundary_values[uint32_t(value) % (sizeof boundary_values / sizeof boundary_values[0])];
        if (where + 4 <= long(file.size())) std::memcpy(&file[size_t(where)], &value, 4);
    }
    const std::string folder = fuzz::scratch_folder();
    fuzz::require(fuzz::write_bytes(folder + "/vitrion.dat", file) == 1, "default vision written");
    // F4's personal vision file is the same file under another name: a hard
    // link made once, so each run writes the bytes only once.
    static const int personal_linked = link((folder + "/vitrion.dat").c_str(), (folder + "/mine.flt").c_str()) == 0;
    fuzz::require(personal_linked, "personal vision linked");

    // Captures (F8) go to the working directory: keep them in scratch for the
    // run, then come back so the fuzzer's own relative paths stay valid.
    const int previous_directory = open(".", O_RDONLY | O_DIRECTORY);
    fuzz::require(previous_directory >= 0 && chdir(folder.c_str()) == 0, "into the scratch folder");

    static platform::NullPlatform fake;
    static const platform::NullPlatform fresh_fake;
    static const auto pristine = make_pristine(fake);
    static const auto sim = std::make_unique<shell::Simulator>(fake);
    fake = fresh_fake;
    fake.record_text = 0;
    restore(*sim, *pristine);
    shell::on_create(*sim);
    std::snprintf(sim->startup_directory, sizeof sim->startup_directory, "%s", folder.c_str());
    shell::on_timer(*sim);  // start-up loader and one intro frame
    check_state(*sim);
    shell::on_left_button_down(*sim, 10, 10);  // start: reset scene from vision settings, one frame
    shell::on_left_button_up(*sim, 10, 10);
    fuzz::require(sim->engine.simulation_started == 1, "the click starts the simulation");
    check_state(*sim);
    for (int n = 0; n < max_events && at < size; ++n, ++at) {
        const Event& ev = events[data[at] % event_kinds];
        if (ev.kind == key_event) {
            if (ev.a == shell::key_f4) fake.file_answers = {folder + "/mine.flt"};
            shell::on_key_down(*sim, ev.a);
        } else if (ev.kind == move_event) {
            shell::on_mouse_move(*sim, ev.a, ev.b);
        } else {
            shell::on_timer(*sim);
        }
        check_state(*sim);
    }
    fake.file_answers.clear();
    shell::on_destroy(*sim);
    fuzz::require(fake.timer_period == 0, "shutdown stops the timer");
    fuzz::require(fchdir(previous_directory) == 0, "back to the working directory");
    close(previous_directory);
    return 0;
}
