// same_trig.h -- cosine and sine computed the same way in every build.
//
// The desktop's C library and the browser's compute cos and sin differently
// and disagree in the last bit on some of the angles the engine uses (the
// sunglasses' lens edge on 18 of its 480 rows, about 3% of blood-cell trail
// angles). These two are computed from IEEE additions and multiplications
// alone, so every build gets the same bits; they are within one unit in the
// last place of the exact value, and the whole numbers the engine truncates
// them to (lens half-widths, trail positions) are the desktop library's.
#pragma once

namespace engine {

double same_cos(double x);
double same_sin(double x);

// Both at once, for the price of one reduction of the angle.
struct CosSin {
    double cos, sin;
};
CosSin same_cos_sin(double x);

}  // namespace engine
