// text_test.cpp -- the help layout, the status line with its hint and expiry, the shadowed and wrapped text.
#include <gtest/gtest.h>

#include <map>

#include "shell_fixture.h"
#include "sim/shell/onscreen_text.h"

using namespace shell_testing;

namespace {

// key text -> row, for the items of one column (by key x) in a layout.
std::map<std::string, int> column(const shell::HelpItem* items, int count, int key_x) {
    std::map<std::string, int> rows;
    for (int i = 0; i < count; ++i)
        if (items[i].x == key_x) rows[items[i].text] = items[i].row;
    return rows;
}

}  // namespace

TEST_F(ShellTest, HelpLayoutWithEveryEffect) {
    enable_every_effect();
    shell::HelpItem items[shell::help_item_capacity];
    const int n = shell::help_layout(sim->document.header, items);
    const auto c1 = column(items, n, 20);
    EXPECT_EQ(c1.at("General."), 2);
    EXPECT_EQ(c1.at("K"), 20);
    EXPECT_EQ(c1.at("Retina shadow."), 22);
    EXPECT_EQ(c1.at("Y"), 24);
    EXPECT_EQ(c1.at("Sun glasses."), 26);
    EXPECT_EQ(c1.at("W"), 28);
    EXPECT_EQ(c1.at("T"), 31);
    const auto c2 = column(items, n, 230);
    const std::map<std::string, int> expected2 = {
        {"Retina blood cells.", 2}, {"P", 4}, {"O", 5}, {"I", 6}, {"U", 7},
        {"Miopy.", 9}, {"M", 11}, {"1-0", 12},
        {"Cataracts.", 14}, {"G", 16}, {"B", 17}, {"V", 18},
        {"Flashes of light.", 20}, {"F", 22}, {"C", 23}, {"X", 24}, {"D", 25},
        {"Scene.", 27}, {"L", 29}};
    EXPECT_EQ(c2, expected2);
    // Each entry's description shares its key's row, 30 pixels to the right.
    for (int i = 0; i < n; ++i) {
        if (std::string(items[i].text) == "Increase cataract.") {
            EXPECT_EQ(items[i].x, 260);
            EXPECT_EQ(items[i].row, 17);
            EXPECT_EQ(items[i].style, shell::style_entry);
        }
    }
}

TEST_F(ShellTest, HelpLayoutWithoutOptionalEffectsAndWithStarsOnly) {
    shell::HelpItem items[shell::help_item_capacity];
    int n = shell::help_layout(sim->document.header, items);
    auto c1 = column(items, n, 20);
    int last = 0;
    for (const auto& [text, row] : c1) last = std::max(last, row);
    EXPECT_EQ(last, 20);
    EXPECT_EQ(column(items, n, 230), (std::map<std::string, int>{{"Scene.", 3}, {"L", 5}}));

    sim->document.header.stars_on = 1;
    n = shell::help_layout(sim->document.header, items);
    EXPECT_EQ(column(items, n, 230),
              (std::map<std::string, int>{{"Flashes of light.", 3}, {"C", 5}, {"Scene.", 7}, {"L", 9}}));
}

TEST_F(ShellTest, HelpScreenIsDrawnShadowedAtItsRows) {
    simulation();
    sim->help_visible = 1;
    shell::on_timer(*sim);
    // Title: black shadow one pixel down-right, then white, font 0.
    const auto& t = fake.texts;
    auto title = std::find_if(t.begin(), t.end(),
                              [](const DrawnText& d) { return d.text == "Vitrion Simulator v2.0 Help"; });
    ASSERT_NE(title, t.end());
    ASSERT_NE(title + 1, t.end());
    EXPECT_EQ(title->x, 11);
    EXPECT_EQ(title->y, 5);
    EXPECT_EQ(title->colour.red + title->colour.green + title->colour.blue, 0);
    EXPECT_EQ((title + 1)->x, 10);
    EXPECT_EQ((title + 1)->y, 4);
    EXPECT_EQ((title + 1)->font, 0);
    EXPECT_EQ((title + 1)->colour.blue, 255);
    // F8 in column 3 at row 9: y = 14 * 9 + 4, cyan, font 2.
    const auto cyan = fake.texts_in({0, 255, 255});
    auto f8 = std::find_if(cyan.begin(), cyan.end(), [](const DrawnText& d) { return d.text == "F8"; });
    ASSERT_NE(f8, cyan.end());
    EXPECT_EQ(f8->x, 440);
    EXPECT_EQ(f8->y, 130);
    EXPECT_EQ(f8->font, 2);
}

TEST_F(ShellTest, StatusLineExpiresAfterThreeToFourSecondsAndTheHintReturns) {
    simulation();
    const platform::Rgb yellow{255, 255, 25};
    fake.clock = 5000;
    shell::on_timer(*sim);
    ASSERT_EQ(fake.texts_in(yellow).size(), 1u);
    EXPECT_EQ(fake.texts_in(yellow)[0].text, "Press F1 or click any mouse button to get help");
    EXPECT_EQ(fake.texts_in(yellow)[0].x, 10);
    EXPECT_EQ(fake.texts_in(yellow)[0].y, 454);
    EXPECT_EQ(sim->status_visible, 0);  // the hint is not a status

    shell::set_status(*sim, "first");
    shell::set_status(*sim, "Both eyes");  // the newer text replaces the older at once
    for (long second = 5000; second <= 5004; ++second) {
        fake.clock = second;
        fake.texts.clear();
        shell::on_timer(*sim);
        ASSERT_EQ(fake.texts_in(yellow).size(), 1u) << second;
        EXPECT_EQ(fake.texts_in(yellow)[0].text, "Both eyes") << second;
    }
    EXPECT_EQ(sim->status_visible, 0);  // drawn in the frame it expired in, gone from the next
    fake.texts.clear();
    shell::on_timer(*sim);
    EXPECT_EQ(fake.texts_in(yellow)[0].text, "Press F1 or click any mouse button to get help");

    // Once the help screen has been drawn, an expired status leaves the line empty.
    sim->help_visible = 1;
    shell::on_timer(*sim);
    sim->help_visible = 0;
    fake.texts.clear();
    shell::on_timer(*sim);
    EXPECT_TRUE(fake.texts_in(yellow).empty());
}

TEST_F(ShellTest, PersonalInformationIsWrappedWithATwoPixelShadow) {
    simulation();
    sim->personal_info_visible = 1;
    shell::on_timer(*sim);
    EXPECT_TRUE(std::none_of(fake.texts.begin(), fake.texts.end(),
                             [](const DrawnText& d) { return d.wrapped; }));  // empty comments

    std::strcpy(sim->document.header.comments, "I see dots.\nMany.");
    fake.texts.clear();
    shell::on_timer(*sim);
    std::vector<DrawnText> wrapped;
    for (const DrawnText& d : fake.texts)
        if (d.wrapped) wrapped.push_back(d);
    ASSERT_EQ(wrapped.size(), 2u);
    EXPECT_EQ(wrapped[0].box.left, 12);
    EXPECT_EQ(wrapped[0].box.bottom, 432);
    EXPECT_EQ(wrapped[0].colour.red, 0);
    EXPECT_EQ(wrapped[1].box.right, 630);
    EXPECT_EQ(wrapped[1].colour.red, 255);
    EXPECT_EQ(wrapped[1].font, 2);
    EXPECT_EQ(wrapped[1].text, "I see dots.\nMany.");

    // Comments filling the whole field without a terminating zero stop at its end.
    std::memset(sim->document.header.comments, 'z', vision::comments_size);
    fake.texts.clear();
    shell::on_timer(*sim);
    for (const DrawnText& d : fake.texts)
        if (d.wrapped) {
            EXPECT_EQ(d.text.size(), size_t(vision::comments_size - 1));
        }
}
