// report_page.cpp -- the texts and numbers of the page for the eye doctor, and its layout.
#include "editor/model/report_page.h"

#include <algorithm>
#include <cstdio>

#include "common/latin1.h"
#include "editor/model/map_pictures.h"
#include "editor/model/personal_form.h"
#include "editor/model/red_flags_text.h"

namespace editor {

namespace {

constexpr char minus_sign[] = "\xE2\x88\x92";  // U+2212, the minus of the dioptres

std::string yes_no(int32_t flag) { return flag == 1 ? "yes" : "no"; }

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

// "1 floater", "2 floaters".
std::string counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// When a streak of `when_seen` is seen, in the person's words.
const char* when_seen_text(int32_t when_seen) {
    switch (when_seen) {
    case 0: return "always";
    case 1: return "when moving my eyes left and right";
    case 2: return "when moving my eyes up and down";
    case 3: return "when moving my eyes";
    default: return nullptr;
    }
}

// When the traced streaks are seen: each moment once, in the order of the
// streaks; "none traced" without streaks.
std::string streaks_seen(const vision::Header& header) {
    std::vector<std::string> moments;
    for (const vision::Streak& streak : header.streak) {
        if (streak.point_count <= 0) continue;
        const char* text = when_seen_text(streak.when_seen);
        const std::string moment = text ? text : "at times not recorded";
        if (std::find(moments.begin(), moments.end(), moment) == moments.end()) moments.push_back(moment);
    }
    if (moments.empty()) return "none traced";
    std::string out;
    for (size_t i = 0; i < moments.size(); ++i) {
        if (i > 0) out += i + 1 == moments.size() ? " or " : ", ";
        out += moments[i];
    }
    return out;
}

EyeReport eye_report(const vision::Document& doc, int eye) {
    EyeReport report;
    report.eye = eye;
    report.heading = eye == 1 ? "Right eye (OD)" : "Left eye (OS)";
    const int count = std::clamp(doc.header.floater_count[eye], 0, vision::max_floaters);
    for (int i = 0; i < count; ++i) {
        const int dots = std::clamp(doc.records[eye][i].dot_count, 0, vision::dot_capacity);
        if (dots == 0) continue;
        ++report.floaters;
        report.dots += dots;
    }
    for (int k = 0; k < vision::streaks_per_eye; ++k)
        if (doc.header.streak[vision::first_streak_of_eye(eye) + k].point_count > 0) ++report.streaks;
    report.counts = report.floaters == 0 ? std::string("No floaters drawn")
                                         : counted(report.floaters, "floater", "floaters") + ", " +
                                               counted(report.dots, "dot", "dots");
    if (report.streaks > 0) report.counts += "; " + counted(report.streaks, "streak of light", "streaks of light");
    return report;
}

}  // namespace

std::vector<std::string> report_answers(const vision::Header& h) {
    std::vector<std::string> out;
    if (h.myopia_on != 1)
        out.push_back("Myopia: no.");
    else if (h.myopia_dioptres >= 1 && h.myopia_dioptres <= dioptre_buttons)
        out.push_back("Myopia: " + std::string(minus_sign) + std::to_string(h.myopia_dioptres) +
                      (h.myopia_dioptres == 1 ? " dioptre." : " dioptres."));
    else
        out.push_back("Myopia: yes, dioptres not recorded.");
    out.push_back("Points of light moving quickly against the sky: " +
                  (h.blood_cells_on == 1 ? "yes (" + counted(h.blood_cells_count, "point", "points") +
                                               format(", brightness %.2f).", h.blood_cells_brightness)
                                         : std::string("no.")));
    out.push_back("Shadow of the retina's blood vessels: " + yes_no(h.retina_shadow_on) + ".");
    out.push_back(h.cataracts_on == 1 ? format("Cataract: clarity %.2f.", h.cataract_clarity)
                                      : std::string("Cataract: no."));
    out.push_back(h.sunglasses_on == 1 ? "Sunglasses for the floaters: yes, tint red " + std::to_string(h.tint_red) +
                                             ", green " + std::to_string(h.tint_green) + ", blue " +
                                             std::to_string(h.tint_blue) + "."
                                       : std::string("Sunglasses for the floaters: no."));
    out.push_back("Flashes of light: " + yes_no(h.flashes_on) + ".");
    out.push_back("Fixed points of light that fade away: " + yes_no(h.stars_on) + ".");
    out.push_back("Fireworks, little points of light moving around: " + yes_no(h.sparks_on) + ".");
    out.push_back("Lines of light streaking across the view: " + yes_no(h.sac_refractions_on) + ".");
    out.push_back("Streaks seen: " + streaks_seen(h) + ".");
    return out;
}

ReportContent report_content(const vision::Document& doc, const std::string& date) {
    ReportContent page;
    page.title = report_title;
    page.date = "Date: " + date;
    page.name = "Name: ______________________________________";
    page.eyes[0] = eye_report(doc, 1);
    page.eyes[1] = eye_report(doc, 0);
    page.answers = report_answers(doc.header);
    page.comments_heading = "In my own words:";
    // The form keeps one byte per character (Latin-1); the page is UTF-8.
    const std::string comments = comments_for_display(doc.header);
    page.comments.assign(2 * comments.size() + 1, '\0');
    page.comments.resize(common::latin1_to_utf8(comments.c_str(), page.comments.data(), page.comments.size()));
    if (page.comments.find_first_not_of(" \t\r\n") == std::string::npos) page.comments = "(none)";
    page.red_flag_heading = red_flag_heading;
    page.red_flag_text = red_flag_text;
    page.panel_note = "Above: the map as drawn. Below: the simulator's view.";
    page.footer = "Drawn by the person themselves with Vitrion. Not a diagnosis.";
    return page;
}

namespace {

constexpr double margin = 36;        // half an inch
constexpr double column_gap = 18;
constexpr double title_height = 26, line_height = 16;
constexpr double heading_height = 18, counts_height = 34, picture_gap = 6;
constexpr double answers_room = 240;  // answers and comments below the panels
constexpr double red_flag_height = 62, footer_height = 14, block_gap = 10;

}  // namespace

ReportLayout report_layout(double width, double height) {
    ReportLayout layout;
    const double inner = width - 2 * margin;
    double y = margin;
    layout.title = {margin, y, inner, title_height};
    y += title_height;
    layout.date = {margin, y, inner / 2, line_height};
    layout.name = {margin + inner / 2, y, inner / 2, line_height};
    y += line_height + block_gap;

    // The pictures take what the fixed parts leave, at most a column wide.
    const double column = (inner - column_gap) / 2;
    const double fixed_below = answers_room + red_flag_height + footer_height + 3 * block_gap + margin;
    const double picture_room = height - y - fixed_below - heading_height - counts_height - picture_gap;
    const double picture_width = std::clamp(picture_room / 2 * 4 / 3, 0.0, column);
    const double picture_height = picture_width * 3 / 4;
    for (int i = 0; i < vision::eyes; ++i) {
        const double left = margin + i * (column + column_gap);
        const double centred = left + (column - picture_width) / 2;
        EyePanelLayout& panel = layout.eyes[i];
        panel.heading = {left, y, column, heading_height};
        panel.map = {centred, y + heading_height, picture_width, picture_height};
        panel.still = {centred, panel.map.y + picture_height + picture_gap, picture_width, picture_height};
        panel.counts = {left, panel.still.y + picture_height, column, counts_height};
    }
    y = layout.eyes[0].counts.y + counts_height + block_gap;

    layout.footer = {margin, height - margin - footer_height, inner, footer_height};
    layout.red_flag = {margin, layout.footer.y - block_gap - red_flag_height, inner, red_flag_height};
    layout.answers = {margin, y, inner, std::max(0.0, layout.red_flag.y - block_gap - y)};
    return layout;
}

PagePoint map_to_page(const PageBox& map, double x, double y) {
    return {map.x + x * map.width / map_picture_width, map.y + y * map.height / map_picture_height};
}

}  // namespace editor
