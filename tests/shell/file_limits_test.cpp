// file_limits_test.cpp -- key commands that step values a vision file may hold at any value.
#include <gtest/gtest.h>

#include <climits>

#include "shell_fixture.h"

using namespace shell_testing;

TEST_F(ShellTest, TintKeysWrapAnyTintFromTheFileWithoutOverflow) {
    simulation();
    sim->document.header.sunglasses_on = 1;
    struct Case {
        int from, expected;
    } cases[] = {{INT_MAX, 0}, {248, 0}, {247, 255}, {-1, 7}, {INT_MIN, INT_MIN + 8}};
    for (const Case& c : cases) {
        sim->engine.glasses_red = sim->engine.glasses_green = sim->engine.glasses_blue = c.from;
        for (char key : {'E', 'R', 'T'}) shell::on_key_down(*sim, key);
        EXPECT_EQ(sim->engine.glasses_red, c.expected) << "from " << c.from;
        EXPECT_EQ(sim->engine.glasses_green, c.expected) << "from " << c.from;
        EXPECT_EQ(sim->engine.glasses_blue, c.expected) << "from " << c.from;
    }
}
