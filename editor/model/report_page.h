// report_page.h -- what the page for the eye doctor says and where each part of it goes.
#pragma once
#include <string>
#include <vector>

#include "visionfile/document.h"

namespace editor {

inline constexpr char report_title[] = "Floaters and flashes \xE2\x80\x94 what I see";

// One eye's panel: its heading and what was drawn for it.
struct EyeReport {
    int eye = 0;           // the document's eye: 1 right (OD), 0 left (OS)
    std::string heading;   // "Right eye (OD)"
    int floaters = 0;      // floaters of the eye with at least one dot
    int dots = 0;          // their dots
    int streaks = 0;       // streaks of light traced for the eye
    std::string counts;    // "2 floaters, 37 dots; 1 streak of light"
};

// Every text of the page, in UTF-8.
struct ReportContent {
    std::string title;
    std::string date;              // "Date: " and the date given
    std::string name;              // "Name: " and a line to write on
    EyeReport eyes[vision::eyes];  // [0] the right eye (left on the page), [1] the left eye
    std::vector<std::string> answers;  // the questionnaire, one sentence each
    std::string comments_heading;
    std::string comments;          // the person's own words; "(none)" when empty
    std::string red_flag_heading;  // the red-flag box: its bold start and its whole text
    std::string red_flag_text;
    std::string panel_note;        // under each eye's pictures: what the two pictures are
    std::string footer;
};

// The page for `doc`, dated `date` (already formatted for the reader). Only
// the header's answers, floater records and streaks are read; values a
// damaged file may hold (dioptres outside 1..10, counts past the tables) are
// reported as they are or kept inside the tables.
ReportContent report_content(const vision::Document& doc, const std::string& date);

// The sentences of the questionnaire, in the order the form asks them.
std::vector<std::string> report_answers(const vision::Header& header);

// A rectangle on the page, in points (1/72 inch) from its top-left corner.
struct PageBox {
    double x = 0, y = 0, width = 0, height = 0;
};

// Where one eye's panel goes: heading, floater map (4:3, showing the whole
// 800 x 600 map), the still of the simulation (4:3, the 640 x 480 screen),
// and the counts under them.
struct EyePanelLayout {
    PageBox heading, map, still, counts;
};

struct ReportLayout {
    PageBox title, date, name;
    EyePanelLayout eyes[vision::eyes];  // in the order of ReportContent::eyes
    PageBox answers;                    // the answers, then the comments
    PageBox red_flag;
    PageBox footer;
};

// The layout of a page `width` x `height` points (A4 595 x 842, Letter
// 612 x 792) with margins of half an inch.
ReportLayout report_layout(double width, double height);

// The page point of floater map position (x, y) in `map` (a panel's map
// box): the 800 x 600 map fills the box.
struct PagePoint {
    double x, y;
};
PagePoint map_to_page(const PageBox& map, double x, double y);

}  // namespace editor
