// keys.h -- the virtual-key codes the simulator's key handlers understand.
//
// The numbers are the classic Windows virtual-key codes: letters are their
// upper-case character codes, the digit row 48..57, F1..F9 112..120. The
// platform adapter translates its own key events into these; keypad digits
// are not digit keys and must not be translated into 48..57.
#pragma once

namespace shell {

constexpr int key_escape = 27;
constexpr int key_space = 32;
constexpr int key_0 = 48;
constexpr int key_9 = 57;
constexpr int key_f1 = 112;
constexpr int key_f2 = 113;
constexpr int key_f3 = 114;
constexpr int key_f4 = 115;
constexpr int key_f5 = 116;
constexpr int key_f6 = 117;
constexpr int key_f7 = 118;
constexpr int key_f8 = 119;
constexpr int key_f9 = 120;

// Letter keys: key_letter('A') == 65.
constexpr int key_letter(char upper_case) { return static_cast<int>(upper_case); }

}  // namespace shell
