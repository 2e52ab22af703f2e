// null_platform.cpp -- the screenless Platform: calls recorded, a settable clock, pictures through libjpeg.
#include "sim/platform/null_platform.h"

#include "sim/platform/jpeg_decode.h"

namespace platform {

void NullPlatform::present(const Frame&) { ++presents; }

void NullPlatform::draw_text(Frame&, const TextRun& run) {
    if (record_text)
        texts.push_back({run.text, run.wrapped ? run.box.left : run.x, run.wrapped ? run.box.top : run.y, run.font,
                         run.colour, run.wrapped, run.box});
}

int NullPlatform::decode_jpeg(const char* path, long offset, const PictureLimits& limits, DecodedPicture& out) {
    return platform::decode_jpeg(path, offset, out, limits);
}

void NullPlatform::set_frame_timer(int period_ms) {
    if (period_ms > 0) ++timer_starts;
    else ++timer_stops;
    timer_period = period_ms > 0 ? period_ms : 0;
}

long NullPlatform::calendar_seconds() { return clock; }
long NullPlatform::steady_milliseconds() { return steady_ms; }

int NullPlatform::choose_file(const FileRequest& request, char* path, int path_size) {
    FileDialogCall call{request.title, request.default_extension, request.initial_directory, {}};
    for (int i = 0; i < 2 * request.filter_pairs; ++i) call.filter.push_back(request.filter[i]);
    dialogs.push_back(call);
    if (file_answers.empty()) return file_cancelled;
    const std::string answer = file_answers.front();
    file_answers.erase(file_answers.begin());
    if (answer == "?") return file_pending;
    if (answer.empty() || int(answer.size()) >= path_size) return file_cancelled;
    answer.copy(path, answer.size());
    path[answer.size()] = '\0';
    return file_chosen;
}

void NullPlatform::show_message(const char* text, const char* caption) { messages.push_back({text, caption}); }
void NullPlatform::quit() { ++quit_requests; }

std::vector<DrawnText> NullPlatform::texts_in(Rgb colour) const {
    std::vector<DrawnText> out;
    for (const DrawnText& t : texts)
        if (t.colour.red == colour.red && t.colour.green == colour.green && t.colour.blue == colour.blue)
            out.push_back(t);
    return out;
}

}  // namespace platform
