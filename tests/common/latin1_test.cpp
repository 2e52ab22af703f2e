// latin1_test.cpp -- Latin-1 texts as UTF-8, and what is left off when the room runs out.
#include <gtest/gtest.h>

#include <string>

#include "common/latin1.h"

using common::latin1_to_utf8;

TEST(Latin1ToUtf8, HighBytesBecomeTwoAndTheRoomCutsOnlyWholeCharacters) {
    char out[16];
    EXPECT_EQ(latin1_to_utf8("Caf\xE9 \xA0\xFF", out, sizeof out), 10u);
    EXPECT_EQ(std::string(out), "Caf\xC3\xA9 \xC2\xA0\xC3\xBF");

    // Room for "Caf" and the terminator only: the two bytes of é would not fit.
    char small[5];
    EXPECT_EQ(latin1_to_utf8("Caf\xE9", small, sizeof small), 3u);
    EXPECT_EQ(std::string(small), "Caf");

    char one[1] = {'x'};
    EXPECT_EQ(latin1_to_utf8("abc", one, sizeof one), 0u);
    EXPECT_EQ(one[0], '\0');
}
