// same_trig.h -- cosine and sine computed the same way in every build.
//
// The desktop's C library and the browser's compute cos and sin differently
// and disagree in the last bit on some of the angles the engine uses (the
// sunglasses' lens edge, the blood cells' trails). These are computed here
// from IEEE additions and multiplications alone, in double-double precision
// and rounded once, so they give the correctly rounded result wherever the
// value is not within about 2^-100 of a rounding boundary: the same bits as
// the desktop library on every angle the engine meets, in every build.
#pragma once

namespace engine {

double same_cos(double x);
double same_sin(double x);

}  // namespace engine
