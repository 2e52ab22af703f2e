// same_trig.cpp -- cosine and sine from IEEE additions and multiplications alone.
//
// The angle is brought to r = x - n pi/2 in |r| <= pi/4 with pi/2 in four
// parts (n x part exact), r kept as a head and a tail; the classic minimax
// polynomials of cos and sin on that interval (errors below one unit in the
// last place) then give the value. No fused multiply-add (the build forbids
// contraction), no library call but the exact ones (fabs, fmod).
#include "sim/engine/same_trig.h"

#include <cmath>

namespace engine {
namespace {

// cos(x + y) for |x| <= pi/4, y the tail of the reduced angle.
double cos_kernel(double x, double y) {
    constexpr double c1 = 4.16666666666666019037e-02, c2 = -1.38888888888741095749e-03,
                     c3 = 2.48015872894767294178e-05, c4 = -2.75573143513906633035e-07,
                     c5 = 2.08757232129817482790e-09, c6 = -1.13596475577881948265e-11;
    const double z = x * x, w = z * z;
    const double r = z * (c1 + z * (c2 + z * c3)) + w * w * (c4 + z * (c5 + z * c6));
    const double hz = 0.5 * z, v = 1.0 - hz;
    return v + (((1.0 - v) - hz) + (z * r - x * y));
}

// sin(x + y) for |x| <= pi/4.
double sin_kernel(double x, double y) {
    constexpr double s1 = -1.66666666666666324348e-01, s2 = 8.33333333332248946124e-03,
                     s3 = -1.98412698298579493134e-04, s4 = 2.75573137070700676789e-06,
                     s5 = -2.50507602534068634195e-08, s6 = 1.58969099521155010221e-10;
    const double z = x * x, w = z * z;
    const double r = s2 + z * (s3 + z * s4) + z * w * (s5 + z * s6);
    const double v = z * x;
    return x - ((z * (0.5 * y - v * r) - y) - v * s1);
}

// The cosine and sine of x.
CosSin trig(double x) {
    if (!std::isfinite(x)) return {x - x, x - x};  // NaN
    // Angles beyond a million radians (only damaged files hold them) are
    // first brought into one turn; fmod is exact in every library.
    constexpr double turn = 6.28318530717958647692;
    if (std::fabs(x) > 1.0e6) x = std::fmod(x, turn);
    // pi/2 in parts of 33, 33, 33 and 53 bits: n x part is exact for |n| < 2^20,
    // and x - n p1 is exact because the two lie within a factor of two.
    constexpr double p1 = 1.57079632673412561417e+00, p2 = 6.07710050630396597660e-11,
                     p3 = 2.02226624871116645580e-21, p4 = 8.47842766036889956997e-32;
    // x / (pi/2) rounded to the nearest whole number, ties to even: adding
    // and taking away 1.5 x 2^52 rounds it so in every build, with no call.
    constexpr double rounder = 6755399441055744.0;
    const double n = (x * 0.63661977236758134308 + rounder) - rounder;
    const double a = x - n * p1, b = -n * p2;
    const double head = a + b;
    const double tail = ((a - head) + b) - n * p3 - n * p4;
    const double r = head + tail, r_tail = tail - (r - head);
    // x = r + n pi/2: cos x and sin x are cos r and sin r, swapped and negated by the quadrant.
    const double c = cos_kernel(r, r_tail), s = sin_kernel(r, r_tail);
    switch ((int(static_cast<long long>(n) % 4) + 4) % 4) {
        case 0: return {c, s};
        case 1: return {-s, c};
        case 2: return {-c, -s};
        default: return {s, -c};
    }
}

}  // namespace

double same_cos(double x) { return trig(x).cos; }
double same_sin(double x) { return trig(x).sin; }
CosSin same_cos_sin(double x) { return trig(x); }

}  // namespace engine
