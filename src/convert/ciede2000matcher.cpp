#include "convert/ciede2000matcher.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(__GNUC__)
// The vector helpers below are always inlined, so the note about passing
// 32-byte vectors between functions built for different instruction sets
// does not concern them.
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

namespace {

using Entry = ColorMatch::Ciede2000Matcher::Entry;

// Four doubles; the compiler maps each operation to one AVX or two SSE2
// instructions, depending on the function it is inlined into.
using V = double __attribute__((vector_size(4 * sizeof(double))));
// Lane masks as comparisons give them: all bits set where true.
using M = decltype(V {} < V {});

// Two groups of four lanes. Each operation is issued for both groups one
// after the other, so the long chains of dependent divisions and square
// roots of the difference formula overlap.
struct W {
    V lo, hi;
};
struct MW {
    M lo, hi;
};

#define LANES_INLINE inline __attribute__((always_inline))

template <class T>
struct LaneTraits;
template <>
struct LaneTraits<V> {
    using Mask = M;
    static constexpr int count = 4;
};
template <>
struct LaneTraits<W> {
    using Mask = MW;
    static constexpr int count = 8;
};
template <class T>
using MaskOf = typename LaneTraits<T>::Mask;
template <class T>
constexpr int laneCount = LaneTraits<T>::count;

#define W_ARITHMETIC(op)                                                                                               \
    LANES_INLINE W operator op(const W& x, const W& y) { return {x.lo op y.lo, x.hi op y.hi}; }                     \
    LANES_INLINE W operator op(const W& x, double y) { return {x.lo op y, x.hi op y}; }                             \
    LANES_INLINE W operator op(double x, const W& y) { return {x op y.lo, x op y.hi}; }
W_ARITHMETIC(+)
W_ARITHMETIC(-)
W_ARITHMETIC(*)
#undef W_ARITHMETIC

LANES_INLINE W operator/(const W& x, const W& y)
{
    return {x.lo / y.lo, x.hi / y.hi};
}
LANES_INLINE W operator/(double x, const W& y)
{
    return {x / y.lo, x / y.hi};
}

LANES_INLINE W operator-(const W& x)
{
    return {-x.lo, -x.hi};
}

#define W_COMPARISON(op)                                                                                               \
    LANES_INLINE MW operator op(const W& x, const W& y) { return {x.lo op y.lo, x.hi op y.hi}; }
W_COMPARISON(<)
W_COMPARISON(>)
W_COMPARISON(>=)
W_COMPARISON(==)
W_COMPARISON(!=)
#undef W_COMPARISON

LANES_INLINE MW operator&(const MW& x, const MW& y)
{
    return {x.lo & y.lo, x.hi & y.hi};
}
LANES_INLINE MW operator|(const MW& x, const MW& y)
{
    return {x.lo | y.lo, x.hi | y.hi};
}
LANES_INLINE MW operator~(const MW& x)
{
    return {~x.lo, ~x.hi};
}
LANES_INLINE MW& operator|=(MW& x, const MW& y)
{
    x = x | y;
    return x;
}

constexpr double pi = 3.14159265358979323846;
constexpr double chromaPivot7 = 6103515625.0; // 25^7
constexpr double labThreshold = 0.008856;

template <class T>
LANES_INLINE T broadcast(double value);
template <>
LANES_INLINE V broadcast<V>(double value)
{
    return V {} + value;
}
template <>
LANES_INLINE W broadcast<W>(double value)
{
    return {V {} + value, V {} + value};
}

LANES_INLINE double lane(const V& x, int i)
{
    return x[i];
}
LANES_INLINE bool lane(const M& x, int i)
{
    return x[i] != 0;
}
LANES_INLINE double lane(const W& x, int i)
{
    return i < 4 ? x.lo[i] : x.hi[i - 4];
}
LANES_INLINE bool lane(const MW& x, int i)
{
    return (i < 4 ? x.lo[i] : x.hi[i - 4]) != 0;
}
// table[channel] for one channel (at bit shift) of each lane's colour.
LANES_INLINE V lookUp(const double* table, const QRgb* colors, int shift)
{
    return V {table[(colors[0] >> shift) & 0xFF], table[(colors[1] >> shift) & 0xFF],
              table[(colors[2] >> shift) & 0xFF], table[(colors[3] >> shift) & 0xFF]};
}
template <class T>
LANES_INLINE T lookUpLanes(const double* table, const QRgb* colors, int shift);
template <>
LANES_INLINE V lookUpLanes<V>(const double* table, const QRgb* colors, int shift)
{
    return lookUp(table, colors, shift);
}
template <>
LANES_INLINE W lookUpLanes<W>(const double* table, const QRgb* colors, int shift)
{
    return {lookUp(table, colors, shift), lookUp(table, colors + 4, shift)};
}

LANES_INLINE bool allLanes(const M& mask)
{
    return (mask[0] & mask[1] & mask[2] & mask[3]) != 0;
}
LANES_INLINE bool allLanes(const MW& mask)
{
    return allLanes(mask.lo & mask.hi);
}

LANES_INLINE V select(const M& mask, const V& whenTrue, const V& whenFalse)
{
    return mask ? whenTrue : whenFalse;
}
LANES_INLINE W select(const MW& mask, const W& whenTrue, const W& whenFalse)
{
    return {mask.lo ? whenTrue.lo : whenFalse.lo, mask.hi ? whenTrue.hi : whenFalse.hi};
}

template <class T>
LANES_INLINE T absolute(const T& x)
{
    return select(x < broadcast<T>(0), -x, x);
}

LANES_INLINE V squareRoot(const V& x)
{
#if defined(__SSE2__)
    // Element-wise moves keep the halves in registers (a copy through memory
    // would stall on store forwarding).
    const __m128d low = _mm_sqrt_pd(__m128d {x[0], x[1]});
    const __m128d high = _mm_sqrt_pd(__m128d {x[2], x[3]});
    return V {low[0], low[1], high[0], high[1]};
#else
    return V {std::sqrt(x[0]), std::sqrt(x[1]), std::sqrt(x[2]), std::sqrt(x[3])};
#endif
}
LANES_INLINE W squareRoot(const W& x)
{
    return {squareRoot(x.lo), squareRoot(x.hi)};
}

// The polynomial c[0] + c[1] x + ... + c[N-1] x^(N-1) by Estrin's scheme:
// neighbouring terms are paired and the pairs combined with x^2, x^4, ...,
// which keeps the chain of dependent operations short.
template <class T, int N>
LANES_INLINE T polynomial(const T& x, const double (&c)[N])
{
    T terms[(N + 1) / 2];
    for (int i = 0; i < N / 2; ++i)
        terms[i] = c[2 * i] + c[2 * i + 1] * x;
    if (N % 2)
        terms[N / 2] = broadcast<T>(c[N - 1]);
    T power = x * x;
    for (int count = (N + 1) / 2; count > 1; count = (count + 1) / 2) {
        for (int i = 0; i < count / 2; ++i)
            terms[i] = terms[2 * i] + terms[2 * i + 1] * power;
        if (count % 2)
            terms[count / 2] = terms[count - 1];
        power = power * power;
    }
    return terms[0];
}

// Cube root for t in [0.008856, 1.001], the range the Lab conversion needs
// it in: a quadratic in t^(1/4) that is within 0.13 % of t^(1/3), then two
// Halley steps y <- y (y^3 + 2t) / (2y^3 + t), each of which cubes the
// relative error. The result is within a few units in the last place.
template <class T>
LANES_INLINE T cubeRoot(const T& t)
{
    const T u = squareRoot(squareRoot(t));
    T y = (0.30255609047894428 * u + 0.75186131277299787) * u - 0.053483402998037479;
    for (int step = 0; step < 2; ++step) {
        const T y3 = y * y * y;
        y = y * (y3 + 2.0 * t) / (2.0 * y3 + t);
    }
    return y;
}

// Angle of the vector (x, y) in [0, 2π); 0 for the zero vector. The arc
// tangent of the smaller over the larger component is brought below
// tan(π/8) by atan(q) = π/4 + atan((q - 1) / (q + 1)) and evaluated as
// r P(r^2) with a polynomial whose error is below 4e-17. The division
// numerator / denominator is left to the caller, which does several at once.
template <class T>
struct AngleParts {
    T numerator, denominator;
    MaskOf<T> steep, upper, xNegative, yNegative;
};

template <class T>
LANES_INLINE AngleParts<T> angleParts(const T& y, const T& x)
{
    AngleParts<T> parts;
    const T ax = absolute(x);
    const T ay = absolute(y);
    parts.steep = ay > ax;
    const T small = select(parts.steep, ax, ay);
    const T large = select(parts.steep, ay, ax);
    parts.upper = small > 0.41421356237309503 * large;
    parts.numerator = select(parts.upper, small - large, small);
    const T denominator = select(parts.upper, small + large, large);
    parts.denominator = select(denominator == broadcast<T>(0), broadcast<T>(1), denominator);
    parts.xNegative = x < broadcast<T>(0);
    parts.yNegative = y < broadcast<T>(0);
    return parts;
}

template <class T>
LANES_INLINE T angleFromRatio(const AngleParts<T>& parts, const T& r)
{
    const T z = r * r;
    static constexpr double coefficients[] = {
        0.99999999999999996532,   -0.333333333333284385718,  0.199999999988551101336,  -0.142857141809764668302,
        0.111111061804559452198,  -0.0909077307480841378967, 0.0768995349630685775628, -0.0664023393042940858874,
        0.0568834922680901047935, -0.043480522157164624777,  0.0211353731576932452057,
    };
    const T p = polynomial(z, coefficients);
    T result = r * p + select(parts.upper, broadcast<T>(pi / 4), broadcast<T>(0));
    result = select(parts.steep, pi / 2 - result, result);
    result = select(parts.xNegative, pi - result, result);
    result = select(parts.yNegative, 2 * pi - result, result);
    return result;
}

// e^y for y in [-700, 0]: y = n ln 2 + r with |r| <= ln 2 / 2, e^r by its
// Taylor series to r^12 (error below 2e-16), 2^n put into the exponent bits.
LANES_INLINE V exponentialOfNegative(const V& y)
{
    const double shifter = 6755399441055744.0; // 1.5 * 2^52: adding it rounds to an integer kept in the low bits
    const double ln2High = 0.6931471803691238; // ln 2 to 32 bits, so n * ln2High is exact
    const double ln2Low = 1.9082149292705877e-10;
    const V shifted = y * 1.4426950408889634 + shifter;
    const V n = shifted - shifter;
    const V r = (y - n * ln2High) - n * ln2Low;
    static constexpr double coefficients[] = {
        1.0,         1.0,          0.5,           1.0 / 6.0,      1.0 / 24.0,      1.0 / 120.0,      1.0 / 720.0,
        1.0 / 5040.0, 1.0 / 40320.0, 1.0 / 362880.0, 1.0 / 3628800.0, 1.0 / 39916800.0, 1.0 / 479001600.0,
    };
    const V p = polynomial(r, coefficients);
    using Bits = M;
    const Bits exponent = (((Bits)shifted - (Bits)broadcast<V>(shifter)) + 1023) << 52;
    return p * (V)exponent;
}
LANES_INLINE W exponentialOfNegative(const W& y)
{
    return {exponentialOfNegative(y.lo), exponentialOfNegative(y.hi)};
}

// sin w for w in [0, π/3] by its Taylor series to w^17 (error below 3e-17).
template <class T>
LANES_INLINE T sineSmall(const T& w)
{
    static constexpr double coefficients[] = {
        1.0,           -1.0 / 6.0,          1.0 / 120.0,           -1.0 / 5040.0,          1.0 / 362880.0,
        -1.0 / 39916800.0, 1.0 / 6227020800.0, -1.0 / 1307674368000.0, 1.0 / 355687428096000.0,
    };
    const T p = polynomial(w * w, coefficients);
    return w * p;
}

struct LinearTable {
    double values[256];
    LinearTable()
    {
        for (int c = 0; c < 256; ++c)
            values[c] = ColorMatch::linearize(c);
    }
};

const double* linearTable()
{
    static const LinearTable table;
    return table.values;
}

// The Lab curve f: cube root above the threshold, a straight line below.
// A value within rounding distance of the threshold could take the other
// branch in the exact conversion, which would move a or b by about 1e-4.
template <class T>
LANES_INLINE T labCurve(const T& t, MaskOf<T>& nearJump)
{
    const T threshold = broadcast<T>(labThreshold);
    nearJump |= absolute(t - threshold) < broadcast<T>(1e-10);
    const T root = cubeRoot(select(t > threshold, t, threshold));
    return select(t > threshold, root, 7.787 * t + 16.0 / 116.0);
}

template <class T>
struct ColorLanes {
    T L, a, b, chroma;
    MaskOf<T> nearJump;
};

template <class T>
LANES_INLINE ColorLanes<T> toLabLanes(const QRgb* colors, const double* linear)
{
    const T r = lookUpLanes<T>(linear, colors, 16);
    const T g = lookUpLanes<T>(linear, colors, 8);
    const T b = lookUpLanes<T>(linear, colors, 0);
    const T x = 0.4338906014918935 * r + 0.3762349153576651 * g + 0.18990604648226667 * b;
    const T y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const T z = 0.017725448417108273 * r + 0.10947530835851327 * g + 0.8729553741171716 * b;
    ColorLanes<T> lab;
    lab.nearJump = MaskOf<T> {};
    const T fx = labCurve(x, lab.nearJump);
    const T fy = labCurve(y, lab.nearJump);
    const T fz = labCurve(z, lab.nearJump);
    const T L = 116.0 * fy - 16.0;
    lab.L = select(L > broadcast<T>(0), L, broadcast<T>(0));
    const T a = 500.0 * (fx - fy);
    const T bb = 200.0 * (fy - fz);
    lab.a = select(a > broadcast<T>(100), broadcast<T>(100), select(a < broadcast<T>(-100), broadcast<T>(-100), a));
    lab.b = select(bb > broadcast<T>(100), broadcast<T>(100), select(bb < broadcast<T>(-100), broadcast<T>(-100), bb));
    lab.chroma = squareRoot(lab.a * lab.a + lab.b * lab.b);
    // Below this chroma the hue of the approximate and the exact conversion
    // could differ noticeably (black, which is exactly neutral, and hardly
    // any other colour comes this close to the neutral axis).
    lab.nearJump |= lab.chroma < broadcast<T>(1e-2);
    return lab;
}

// The squared approximate CIEDE2000 difference of the colours of the lanes to each of
// the given palette entries, starting with entry order[first], is passed to
// sink.take(k, squared); then sink.finish(nearJump) is called.
//
// An entry is skipped when, in every lane, a lower bound of its difference
// exceeds sqrt(sink.threshold()). The bound:
//   ΔE^2 >= ΔL^2 / SL^2 + s (Δa^2 + Δb^2) / SC^2
// follows from
// - SL = 1 + 0.015 m^2 / sqrt(20 + m^2) <= 1 + 0.015 |m|, m = L' mean - 50;
// - SC = 1 + 0.045 C' mean with C' <= (1 + G) C, where 1 + G <= 1.5, and
//   G falls with the mean chroma: 1 + G <= 1.14645 from a mean chroma of 25
//   and 1 + G <= 1.00907 from 40 on; SH <= SC because T < 1.93;
// - ΔC'^2 + ΔH'^2 = |v1' - v2'|^2 >= Δa^2 + Δb^2 (v' = ((1 + G) a, b));
// - the rotation term x^2 + y^2 + RT x y >= (1 - |RT| / 2)(x^2 + y^2), with
//   |RT| <= 2 sin 60°, so s = 1 - sin 60° = 0.13397; when both colours have
//   b >= 0 the mean hue lies within 0° to 180°, at least 95° from 275°,
//   where |RT| < 2e-6 and s = 0.9999 holds.
// The constants are rounded in the safe direction.
template <class T, class Sink>
LANES_INLINE void compareLanes(const Entry* entries, const int* order, int orderCount, int first, const QRgb* colors,
                               const double* linear, Sink& sink)
{
    const ColorLanes<T> color = toLabLanes<T>(colors, linear);
    MaskOf<T> nearJump = color.nearJump;
    const T L1 = color.L;
    const T a1 = color.a;
    const T b1 = color.b;
    const T b1Squared = b1 * b1;

    for (int step = 0; step < orderCount; ++step) {
        const int k = first + step < orderCount ? first + step : first + step - orderCount;
        const Entry& entry = entries[order[k]];
        const T L2 = broadcast<T>(entry.L);
        const T b2 = broadcast<T>(entry.b);

        if (step > 0) {
            const T deltaL = L2 - L1;
            const T deltaA = entry.a - a1;
            const T deltaB = b2 - b1;
            const T chromaSum = color.chroma + entry.chroma;
            const T slBound = 1.0 + 0.0151 * absolute((L1 + L2) * 0.5 - 50.0);
            const T scaleBound = select(chromaSum >= broadcast<T>(80), broadcast<T>(1.0092),
                                        select(chromaSum >= broadcast<T>(50), broadcast<T>(1.1465), broadcast<T>(1.5)));
            const T scBound = 1.0 + 0.02251 * scaleBound * chromaSum;
            const T share = select((b1 >= broadcast<T>(0)) & (b2 >= broadcast<T>(0)), broadcast<T>(0.9999), broadcast<T>(0.1339));
            const T sl2 = slBound * slBound;
            const T sc2 = scBound * scBound;
            const T bound = deltaL * deltaL * sc2 + share * (deltaA * deltaA + deltaB * deltaB) * sl2;
            if (allLanes(bound > sink.threshold() * (sl2 * sc2)))
                continue;
        }

        // Chroma correction of a*; the 7th power by multiplication.
        const T cMean = (color.chroma + entry.chroma) * 0.5;
        const T cMean2 = cMean * cMean;
        const T cMean7 = (cMean2 * cMean2) * (cMean2 * cMean);
        const T scale = 1.5 - 0.5 * squareRoot(cMean7 / (cMean7 + chromaPivot7)); // 1 + G
        const T a1p = scale * a1;
        const T a2p = scale * entry.a;
        const T chroma1 = squareRoot(a1p * a1p + b1Squared);
        const T chroma2 = squareRoot(a2p * a2p + entry.bSquared);
        const T product = chroma1 * chroma2;

        // Hue difference: ΔH = 2 sqrt(C1 C2) sin(Δh / 2) is, by the half-angle
        // formula, ±sqrt(2 (C1 C2 - v1.v2)) for the vectors v = (a', b), with
        // the sign of the cross product v1 x v2 (Δh = h2 - h1 taken within
        // ±π). For an acute angle 2 (C1 C2 - v1.v2) = 2 (v1 x v2)^2 / (C1 C2 +
        // v1.v2) avoids the cancellation. When C1 C2 is 0 both are 0.
        const T dot = a1p * a2p + b1 * b2;
        const T cross = a1p * b2 - b1 * a2p;
        const MaskOf<T> acute = dot > broadcast<T>(0);
        const T hNumerator = select(acute, 2.0 * cross * cross, 2.0 * (product - dot));
        const T hDenominator = select(acute, product + dot, broadcast<T>(1));
        // Half a turn apart the sign of Δh, and the mean hue, jump.
        nearJump |= (dot < broadcast<T>(0)) & (absolute(cross) < 1e-6 * product);

        // Mean hue: the mean of the two hue angles, taken across the seam
        // at 0 when they are more than half a turn apart, always points along
        // the bisector of the smaller angle between v1 and v2, the direction
        // of C2 v1 + C1 v2 (the sum of the unit vectors, scaled by C1 C2).
        // For an obtuse angle that sum is short and loses precision; the
        // difference C1 v2 - C2 v1 is then long and perpendicular to the
        // bisector, turned by a quarter turn towards it (the sign of the
        // cross product says which way). When one vector is 0 the mean hue
        // is the other's hue (the sum of the two angles), the direction of
        // v1 + v2.
        const MaskOf<T> neutral = product == broadcast<T>(0);
        const MaskOf<T> obtuse = (dot < broadcast<T>(0)) & ~neutral;
        const T differenceX = chroma1 * a2p - chroma2 * a1p;
        const T differenceY = chroma1 * b2 - chroma2 * b1;
        const MaskOf<T> clockwise = cross < broadcast<T>(0);
        const T ux = select(neutral, a1p + a2p,
                            select(obtuse, select(clockwise, -differenceY, differenceY), chroma2 * a1p + chroma1 * a2p));
        const T uy = select(neutral, b1 + b2,
                            select(obtuse, select(clockwise, differenceX, -differenceX), chroma2 * b1 + chroma1 * b2));
        const T u2 = ux * ux + uy * uy;
        // The rotation term is not periodic: a mean hue just below 2π and one
        // just above 0 give different results.
        nearJump |= (ux > broadcast<T>(0)) & (uy * uy < 1e-12 * u2);
        const MaskOf<T> none = u2 == broadcast<T>(0);
        const T length = squareRoot(select(none, broadcast<T>(1), u2));
        const AngleParts<T> hueParts = angleParts(uy, ux);

        const T chromaMean = (chroma1 + chroma2) * 0.5;
        const T chromaMean2 = chromaMean * chromaMean;
        const T chromaMean7 = (chromaMean2 * chromaMean2) * (chromaMean2 * chromaMean);
        const T rcDenominator = chromaMean7 + chromaPivot7;
        const T lOffset = (L1 + L2) * 0.5 - 50.0;
        const T lOffset2 = lOffset * lOffset;
        const T slDenominator = squareRoot(20.0 + lOffset2);

        // Five quotients from one division: the reciprocal of the product of
        // the denominators, multiplied back by the others.
        const T p1 = hDenominator;
        const T p2 = p1 * length;
        const T p3 = p2 * hueParts.denominator;
        const T p4 = p3 * rcDenominator;
        const T inverse5 = 1.0 / (p4 * slDenominator);
        const T inverseSl = inverse5 * p4;
        const T inverse4 = inverse5 * slDenominator;
        const T inverseRc = inverse4 * p3;
        const T inverse3 = inverse4 * rcDenominator;
        const T inverseAngle = inverse3 * p2;
        const T inverse2 = inverse3 * hueParts.denominator;
        const T inverseLength = inverse2 * p1;
        const T inverseH = inverse2 * length;

        T deltaH = squareRoot(hNumerator * inverseH);
        deltaH = select(cross < broadcast<T>(0), -deltaH, deltaH);
        const T cosH = select(none, broadcast<T>(1), ux * inverseLength);
        const T sinH = select(none, broadcast<T>(0), uy * inverseLength);

        // T from cos h and sin h by the multiple-angle formulas.
        const T cos2 = cosH * cosH - sinH * sinH;
        const T sin2 = 2.0 * sinH * cosH;
        const T cos3 = cosH * (4.0 * cosH * cosH - 3.0);
        const T sin3 = sinH * (3.0 - 4.0 * sinH * sinH);
        const T cos4 = cos2 * cos2 - sin2 * sin2;
        const T sin4 = 2.0 * sin2 * cos2;
        const double cos30 = 0.8660254037844386, sin30 = 0.5;
        const double cos6 = 0.9945218953682733, sin6 = 0.10452846326765347;
        const double cos63 = 0.4539904997395468, sin63 = 0.8910065241883679;
        const T t = 1.0 - 0.17 * (cosH * cos30 + sinH * sin30) + 0.24 * cos2
            + 0.32 * (cos3 * cos6 - sin3 * sin6) - 0.20 * (cos4 * cos63 + sin4 * sin63);

        // Rotation term: 2 Δθ = 60° exp(-((h - 275°) / 25°)^2).
        const T hueMean = angleFromRatio(hueParts, hueParts.numerator * inverseAngle);
        const T blue = (hueMean - 275.0 * pi / 180.0) * (180.0 / (25.0 * pi));
        const T rotation = sineSmall((pi / 3) * exponentialOfNegative(-blue * blue));
        const T rt = -2.0 * rotation * squareRoot(chromaMean7 * inverseRc);

        const T sl = 1.0 + 0.015 * lOffset2 * inverseSl;
        const T sc = 1.0 + 0.045 * chromaMean;
        const T sh = 1.0 + 0.015 * chromaMean * t;
        // One division for the three weights.
        const T inverse = 1.0 / (sl * sc * sh);
        const T l = (L2 - L1) * (sc * sh) * inverse;
        const T c = (chroma2 - chroma1) * (sl * sh) * inverse;
        const T h = deltaH * (sl * sc) * inverse;
        const T squared = l * l + c * c + h * h + rt * c * h;
        nearJump |= squared != squared; // not a number
        sink.take(k, squared);
    }
    sink.finish(nearJump);
}

// Keeps the nearest and the second-nearest entry of each lane.
template <class T>
struct NearestSink {
    T best = broadcast<T>(std::numeric_limits<double>::infinity());
    T second = broadcast<T>(std::numeric_limits<double>::infinity());
    T index = broadcast<T>(0);
    MaskOf<T> nearJump {};

    // Entries whose squared difference surely exceeds this in every lane
    // need not be computed: (sqrt(best) + margin)^2 <= best (1 + margin) +
    // margin + margin^2.
    LANES_INLINE T threshold() const
    {
        constexpr double margin = ColorMatch::Ciede2000Matcher::margin;
        return best * (1 + margin) + (margin + margin * margin);
    }
    LANES_INLINE void take(int k, const T& squared)
    {
        const MaskOf<T> closer = squared < best;
        const T other = select(closer, best, squared);
        second = select(other < second, other, second);
        best = select(closer, squared, best);
        index = select(closer, broadcast<T>(k), index);
    }
    LANES_INLINE void finish(const MaskOf<T>& jump) { nearJump = jump; }
};

// Result per colour: position in order of the nearest entry, or -1 when the
// colour must be matched with the exact scan.
template <class T>
LANES_INLINE void nearestBody(const Entry* entries, const int* order, int orderCount, const QRgb* colors, int count,
                              int* results)
{
    constexpr int lanes = laneCount<T>;
    const double* linear = linearTable();
    // Neighbouring colours are mostly nearest to the same entry; starting
    // with it lets most other entries be skipped.
    int first = 0;
    for (int start = 0; start < count; start += lanes) {
        QRgb group[lanes];
        for (int i = 0; i < lanes; ++i)
            group[i] = colors[std::min(start + i, count - 1)];
        NearestSink<T> sink;
        compareLanes<T>(entries, order, orderCount, first, group, linear, sink);
        first = int(lane(sink.index, lanes - 1));
        const T nearestDistance = squareRoot(sink.best);
        const T secondDistance = squareRoot(sink.second);
        const MaskOf<T> sure = ~sink.nearJump & (nearestDistance >= broadcast<T>(1e-3))
            & (secondDistance - nearestDistance > broadcast<T>(ColorMatch::Ciede2000Matcher::margin));
        for (int i = 0; i < lanes && start + i < count; ++i)
            results[start + i] = lane(sure, i) ? int(lane(sink.index, i)) : -1;
    }
}

template <class T>
struct DistanceSink {
    double* distances; // 16 per colour
    int valid;
    MaskOf<T> nearJump {};

    LANES_INLINE T threshold() const { return broadcast<T>(std::numeric_limits<double>::infinity()); }
    LANES_INLINE void take(int k, const T& squared)
    {
        const T distance = squareRoot(squared);
        for (int i = 0; i < valid; ++i)
            distances[i * Palette::size + k] = lane(distance, i);
    }
    LANES_INLINE void finish(const MaskOf<T>& jump) { nearJump = jump; }
};

template <class T>
LANES_INLINE void distanceBody(const Entry* entries, const QRgb* colors, int count, double* distances, bool* nearJump)
{
    constexpr int lanes = laneCount<T>;
    const double* linear = linearTable();
    int all[Palette::size];
    for (int i = 0; i < Palette::size; ++i)
        all[i] = i;
    for (int start = 0; start < count; start += lanes) {
        QRgb group[lanes];
        for (int i = 0; i < lanes; ++i)
            group[i] = colors[std::min(start + i, count - 1)];
        DistanceSink<T> sink {distances + start * Palette::size, std::min(lanes, count - start)};
        compareLanes<T>(entries, all, Palette::size, 0, group, linear, sink);
        for (int i = 0; i < sink.valid; ++i)
            nearJump[start + i] = lane(sink.nearJump, i);
    }
}

// With AVX2 eight lanes at a time (two AVX registers per value); with SSE2
// four (two registers per value), as more would run out of registers.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define MATCHER_AVX2_VARIANT 1
__attribute__((target("avx2,fma"))) void nearestAvx2(const Entry* entries, const int* order, int orderCount,
                                                     const QRgb* colors, int count, int* results)
{
    nearestBody<W>(entries, order, orderCount, colors, count, results);
}

__attribute__((target("avx2,fma"))) void distancesAvx2(const Entry* entries, const QRgb* colors, int count,
                                                       double* distances, bool* nearJump)
{
    distanceBody<W>(entries, colors, count, distances, nearJump);
}
#endif

void nearestGeneric(const Entry* entries, const int* order, int orderCount, const QRgb* colors, int count,
                    int* results)
{
    nearestBody<V>(entries, order, orderCount, colors, count, results);
}

void distancesGeneric(const Entry* entries, const QRgb* colors, int count, double* distances, bool* nearJump)
{
    distanceBody<V>(entries, colors, count, distances, nearJump);
}

} // namespace

ColorMatch::Ciede2000Matcher::Ciede2000Matcher(const Palette::Colors& palette)
    : paletteLab(toLab(palette))
{
    for (int i = 0; i < Palette::size; ++i) {
        const Lab& lab = paletteLab[i];
        entries[i] = Entry {lab.L, lab.a, lab.b, lab.b * lab.b, std::sqrt(lab.a * lab.a + lab.b * lab.b)};
        bool repeated = false;
        for (int j = 0; j < i; ++j)
            repeated = repeated || (palette[j] & 0xFFFFFF) == (palette[i] & 0xFFFFFF);
        if (!repeated)
            distinct[distinctCount++] = i;
    }
}

namespace {
std::atomic<bool> avx2Allowed {true};
}

bool ColorMatch::Ciede2000Matcher::usesAvx2()
{
#ifdef MATCHER_AVX2_VARIANT
    static const bool avx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    }();
    return avx2 && avx2Allowed.load(std::memory_order_relaxed);
#else
    return false;
#endif
}

void ColorMatch::Ciede2000Matcher::allowAvx2(bool allowed)
{
    avx2Allowed = allowed;
}

int ColorMatch::Ciede2000Matcher::match(const QRgb* colors, quint8* indices, int count) const
{
    constexpr int piece = 256;
    int results[piece];
    int rechecked = 0;
    for (int start = 0; start < count; start += piece) {
        const int n = std::min(piece, count - start);
#ifdef MATCHER_AVX2_VARIANT
        if (usesAvx2())
            nearestAvx2(entries, distinct, distinctCount, colors + start, n, results);
        else
#endif
            nearestGeneric(entries, distinct, distinctCount, colors + start, n, results);
        for (int i = 0; i < n; ++i) {
            if (results[i] >= 0) {
                indices[start + i] = quint8(distinct[results[i]]);
            } else {
                indices[start + i] = quint8(nearestLab(paletteLab, toLab(colors[start + i])));
                ++rechecked;
            }
        }
    }
    return rechecked;
}

void ColorMatch::Ciede2000Matcher::approximate(const QRgb* colors, int count, double* distances, bool* nearJump) const
{
#ifdef MATCHER_AVX2_VARIANT
    if (usesAvx2()) {
        distancesAvx2(entries, colors, count, distances, nearJump);
        return;
    }
#endif
    distancesGeneric(entries, colors, count, distances, nearJump);
}
