// same_trig.cpp -- cosine and sine from additions and multiplications in double-double precision.
#include "sim/engine/same_trig.h"

#include <cmath>

namespace engine {
namespace {

// A double-double: the unevaluated sum hi + lo, |lo| <= half an ulp of hi.
struct DD {
    double hi, lo;
};

DD two_sum(double a, double b) {
    const double s = a + b, v = s - a;
    return {s, (a - (s - v)) + (b - v)};
}

DD quick_two_sum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a x b exactly, by Dekker's splitting (no fused multiply-add anywhere).
DD two_prod(double a, double b) {
    constexpr double splitter = 134217729.0;  // 2^27 + 1
    const double ca = splitter * a, a_hi = ca - (ca - a), a_lo = a - a_hi;
    const double cb = splitter * b, b_hi = cb - (cb - b), b_lo = b - b_hi;
    const double p = a * b;
    return {p, ((a_hi * b_hi - p) + a_hi * b_lo + a_lo * b_hi) + a_lo * b_lo};
}

DD add(DD a, DD b) {
    DD s = two_sum(a.hi, b.hi);
    const DD t = two_sum(a.lo, b.lo);
    s.lo += t.hi;
    s = quick_two_sum(s.hi, s.lo);
    s.lo += t.lo;
    return quick_two_sum(s.hi, s.lo);
}

DD mul(DD a, DD b) {
    DD p = two_prod(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return quick_two_sum(p.hi, p.lo);
}

// a / d for a small whole number d.
DD div(DD a, double d) {
    const double q1 = a.hi / d;
    const DD p = two_prod(q1, d);
    const double q2 = (((a.hi - p.hi) - p.lo) + a.lo) / d;
    return quick_two_sum(q1, q2);
}

// 1 - s / (k (k + 1)) x (1 - s / ((k + 2)(k + 3)) x (...)): the Taylor series
// of cos (k = 1) or of sin / r (k = 2) in s = r^2, to the 30th power of r.
DD series(DD s, int k) {
    constexpr int last = 29;
    DD sum{1.0, 0.0};
    for (int j = last - (last - k) % 2; j >= k; j -= 2) {
        const DD term = div(mul(s, sum), double(j) * double(j + 1));
        sum = add(DD{1.0, 0.0}, DD{-term.hi, -term.lo});
    }
    return sum;
}

// x - n pi/2 in double-double, with pi/2 in four parts of 33, 33, 33 and 53
// bits: n x part is exact for |n| < 2^20.
DD reduce(double x, double n) {
    constexpr double p1 = 1.57079632673412561417e+00, p2 = 6.07710050630396597660e-11,
                     p3 = 2.02226624871116645580e-21, p4 = 8.47842766036889956997e-32;
    DD r = two_sum(x, -n * p1);
    r = add(r, DD{-n * p2, 0.0});
    r = add(r, DD{-n * p3, 0.0});
    return add(r, DD{-n * p4, 0.0});
}

// cos r (want_sin 0) or sin r (1) for |r| <= pi/4 (r in double-double),
// to the full double-double precision.
DD exact_kernel(DD r, int want_sin) {
    const DD s = mul(r, r);
    return want_sin ? mul(r, series(s, 2)) : series(s, 1);
}

// The same, quickly: the first three terms of the series in double-double,
// the rest (below 5e-5 of the result) in double. Returns 1 with the
// correctly rounded value in `out` when no value within the error bound of
// the sum rounds differently, else 0.
int quick_kernel(DD r, int want_sin, double& out) {
    const DD s = mul(r, r);
    const double z = s.hi;
    DD main{1.0, 0.0};
    double tail = 0.0, bound = 0.0;
    if (want_sin) {
        main = add(add(main, div(DD{-s.hi, -s.lo}, 6.0)), div(mul(s, s), 120.0));
        main = mul(r, main);
        tail = r.hi * z * z * z *
               (-1.0 / 5040 + z * (1.0 / 362880 + z * (-1.0 / 39916800 + z * (1.0 / 6227020800 +
                z * (-1.0 / 1307674368000 + z * (1.0 / 355687428096000))))));
        bound = std::fabs(r.hi) * 1.0e-19;
    } else {
        main = add(add(main, DD{-0.5 * s.hi, -0.5 * s.lo}), div(mul(s, s), 24.0));
        tail = z * z * z *
               (-1.0 / 720 + z * (1.0 / 40320 + z * (-1.0 / 3628800 + z * (1.0 / 479001600 +
                z * (-1.0 / 87178291200 + z * (1.0 / 20922789888000 + z * (-1.0 / 6402373705728000)))))));
        bound = 4.0e-19;
    }
    const DD v = add(main, DD{tail, 0.0});
    const double above = v.hi + (v.lo + bound), below = v.hi + (v.lo - bound);
    if (above != below) return 0;
    out = v.hi + v.lo;
    return 1;
}

// cos (want_sin 0) or sin (1) of x.
double trig(double x, int want_sin) {
    if (!std::isfinite(x)) return x - x;  // NaN
    // Angles beyond a million radians (only damaged files hold them) are
    // first brought into one turn; fmod is exact in every library.
    constexpr double turn = 6.28318530717958647692;
    if (std::fabs(x) > 1.0e6) x = std::fmod(x, turn);
    const double n = std::nearbyint(x * 0.63661977236758134308);  // x / (pi/2)
    const DD r = reduce(x, n);
    // x = r + n pi/2: cos x and sin x are cos r or sin r, perhaps negated.
    const int q = (int(std::fmod(n, 4.0)) + 4 + want_sin * 3) % 4;
    const int kernel_sin = q % 2;
    double value;
    if (!quick_kernel(r, kernel_sin, value)) {
        const DD v = exact_kernel(r, kernel_sin);
        value = v.hi + v.lo;
    }
    return q == 1 || q == 2 ? -value : value;
}

}  // namespace

double same_cos(double x) { return trig(x, 0); }
double same_sin(double x) { return trig(x, 1); }

}  // namespace engine
