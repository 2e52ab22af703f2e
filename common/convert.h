// convert.h -- float-to-integer truncation that is defined for every input.
#pragma once
#include <cmath>
#include <cstdint>

// Truncates toward zero like a plain cast, but a value outside the int range
// saturates and NaN gives 0: values from files must never reach an undefined
// conversion. For every value a cast handles, the result is the cast's.
inline int trunc_to_int(float value) {
    if (!(value > -2147483648.0f)) return std::isnan(value) ? 0 : INT32_MIN;
    if (value >= 2147483648.0f) return INT32_MAX;
    return static_cast<int>(value);
}

inline int trunc_to_int(double value) {
    if (!(value > -2147483649.0)) return std::isnan(value) ? 0 : INT32_MIN;
    if (value >= 2147483648.0) return INT32_MAX;
    return static_cast<int>(value);
}
