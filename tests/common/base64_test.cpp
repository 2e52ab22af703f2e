// base64_test.cpp -- base64 against the test vectors of RFC 4648.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/base64.h"

using common::base64_length;
using common::base64_text;

namespace {

std::vector<uint8_t> bytes_of(const char* text) { return std::vector<uint8_t>(text, text + std::strlen(text)); }

TEST(Base64, IsThatOfRfc4648) {
    // The test vectors of RFC 4648, section 10: every length of a last group.
    const char* const vectors[][2] = {{"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},
                                      {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
                                      {"foobar", "Zm9vYmFy"}};
    for (const auto& v : vectors) {
        const std::vector<uint8_t> in = bytes_of(v[0]);
        EXPECT_EQ(base64_text(in.data(), in.size()), v[1]) << '"' << v[0] << '"';
        EXPECT_EQ(base64_length(in.size()), std::strlen(v[1])) << '"' << v[0] << '"';
    }
    // High bits and the last two letters of the alphabet.
    const uint8_t high[] = {0xFB, 0xFF, 0xBF, 0x00};
    EXPECT_EQ(base64_text(high, sizeof high), "+/+/AA==");
}

}  // namespace
