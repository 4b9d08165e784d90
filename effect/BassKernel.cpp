// The fast block kernel. With the compressor off every stage is stateless and
// one pass does it all, eight frames at a time in registers (sixteen, in
// float, when the output is the dry sum alone). With it on, each chunk goes
// through three passes:
//   1. shape (vector): mono sum, tube curve, compressor input, and the gain
//      an attack at each frame would aim at (it depends only on the signal);
//   2. envelope (serial): attack and linear release of the float gain, eight
//      frames at a time where no attack falls and the steps stay regular, and
//      where one may, the eight frames one by one with what an attack would
//      set worked out for them at once;
//   3. blend (vector): apply the gain, mix with the dry sum, clip, write.
// The arithmetic and every decision are those of the per-sample description,
// in double precision, so the result matches it to the last bits.
#include "BassKernel.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>

// The vector helpers below are always inlined, so no vector ever crosses a
// call and the note about the vector calling convention does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

using namespace bass;

// Frames in double precision, eight to a vector where the machine has 512-bit
// registers and four elsewhere, their float inputs and outputs, and eight
// float gains. The scalar tail runs the same templates with T = double, so
// it rounds exactly as the vector body does.
using D8 = double __attribute__((vector_size(64)));
using I8 = int64_t __attribute__((vector_size(64)));
using D4 = double __attribute__((vector_size(32)));
using I4 = int64_t __attribute__((vector_size(32)));
using F8 = float __attribute__((vector_size(32)));
using F4 = float __attribute__((vector_size(16)));
using F16 = float __attribute__((vector_size(64)));

constexpr int32_t kChunk = 256;
constexpr int32_t kGroup = 8;                      // frames the envelope checks at once
constexpr double kLargest = 3.4028234663852886e38; // FLT_MAX
constexpr double kNoAttack = std::numeric_limits<double>::infinity();

struct Chunk {
    double x[kChunk];      // dry mono sum
    double v[kChunk];      // compressor input
    double target[kChunk]; // gain an attack would aim at; +inf below threshold
    float gain[kChunk];    // gain applied to each frame, 1 when none
};

template <typename T> [[gnu::always_inline]] inline T splat(double v)
{
    return T{} + v;
}

[[gnu::always_inline]] inline double absOf(double v)
{
    return __builtin_fabs(v);
}

template <typename T> struct Bits {
    using type = I8;
};
template <> struct Bits<D4> {
    using type = I4;
};

template <typename T> [[gnu::always_inline]] inline T absOf(T v)
{
    using I = typename Bits<T>::type;
    return reinterpret_cast<T>(reinterpret_cast<I>(v) & INT64_MAX);
}

// `magnitude` (not negative) with the sign of `sign`.
[[gnu::always_inline]] inline double withSignOf(double magnitude, double sign)
{
    return __builtin_copysign(magnitude, sign);
}

template <typename T> [[gnu::always_inline]] inline T withSignOf(T magnitude, T sign)
{
    using I = typename Bits<T>::type;
    return reinterpret_cast<T>(reinterpret_cast<I>(magnitude) |
                               (reinterpret_cast<I>(sign) & INT64_MIN));
}

[[gnu::always_inline]] inline D8 toDouble(F8 v)
{
    return __builtin_convertvector(v, D8);
}

[[gnu::always_inline]] inline D4 toDouble(F4 v)
{
    return __builtin_convertvector(v, D4);
}

[[gnu::always_inline]] inline double toDouble(float v)
{
    return static_cast<double>(v);
}

[[gnu::always_inline]] inline F8 toFloat(D8 v)
{
    return __builtin_convertvector(v, F8);
}

[[gnu::always_inline]] inline F4 toFloat(D4 v)
{
    return __builtin_convertvector(v, F4);
}

[[gnu::always_inline]] inline float toFloat(double v)
{
    return static_cast<float>(v);
}

template <typename V, typename P> [[gnu::always_inline]] inline V loadAs(const P* p)
{
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename P, typename V> [[gnu::always_inline]] inline void store(P* p, V v)
{
    std::memcpy(p, &v, sizeof v);
}

[[gnu::always_inline]] inline bool anyLane(bool m)
{
    return m;
}

// Eight lanes narrowed to a byte each (one instruction from a mask register
// with AVX-512), then one test: extracting and or-ing each lane cost as much
// as the arithmetic it was to skip.
[[gnu::always_inline]] inline bool anyLane(I8 m)
{
    using C8 = int8_t __attribute__((vector_size(8)));
    const C8 bytes = __builtin_convertvector(m, C8);
    uint64_t w;
    std::memcpy(&w, &bytes, sizeof w);
    return w != 0;
}

[[gnu::always_inline]] inline bool anyLane(I4 m)
{
    using I2 = int64_t __attribute__((vector_size(16)));
    const I2 half = __builtin_shufflevector(m, m, 0, 1) | __builtin_shufflevector(m, m, 2, 3);
    return (half[0] | half[1]) != 0;
}

// Float frames widened: a vector's worth for the body, one for the tail.
template <typename T> [[gnu::always_inline]] inline T frames(const float* p)
{
    if constexpr (sizeof(T) == sizeof(D8))
        return toDouble(loadAs<F8>(p));
    else if constexpr (sizeof(T) == sizeof(D4))
        return toDouble(loadAs<F4>(p));
    else
        return static_cast<double>(*p);
}

template <typename T> inline constexpr int32_t kLanesOf = sizeof(T) / sizeof(double);

using M8 = int32_t __attribute__((vector_size(32))); // a float comparison of eight lanes
using M4 = int32_t __attribute__((vector_size(16)));

// Whether an attack falls on any of eight frames with these gains, or
// `flags` (a comparison of the eight gains) holds in any lane: one test.
template <typename D>
[[gnu::always_inline]] inline bool anyAttackOr(M8 flags, const double* target, F8 gain)
{
    if constexpr (kLanesOf<D> == 8) {
        return anyLane(__builtin_convertvector(flags, I8) | (loadAs<D8>(target) < toDouble(gain)));
    } else if constexpr (kLanesOf<D> == 1) {
        bool any = false;
        for (int32_t k = 0; k < kGroup; k++)
            any |= flags[k] != 0 || target[k] < static_cast<double>(gain[k]);
        return any;
    } else {
        return anyLane(
            reinterpret_cast<I4>(flags) |
            (loadAs<D4>(target) < toDouble(__builtin_shufflevector(gain, gain, 0, 1, 2, 3))) |
            (loadAs<D4>(target + 4) < toDouble(__builtin_shufflevector(gain, gain, 4, 5, 6, 7))));
    }
}

// NaN is silence and an infinity the largest finite level, so the stages
// only see finite input.
template <typename T> [[gnu::always_inline]] inline T monoSum(T in0, T in1)
{
    T x = (in0 + in1) * 0.5;
    x = x == x ? x : splat<T>(0.0);
    x = x < kLargest ? x : splat<T>(kLargest);
    return x > -kLargest ? x : splat<T>(-kLargest);
}

// Both curves: a parabola rising from `knee` at a = knee to knee + height / 2
// at the top of the span, held there beyond it (r at most 1).
template <typename T>
[[gnu::always_inline]] inline T shoulder(T a, double knee, double span, double height)
{
    T r = (a - knee) / span;
    r = r < 1.0 ? r : splat<T>(1.0);
    const T q = (1.0 - r) * static_cast<double>(kCurveScale);
    return (0.5 - q * q) * height + knee;
}

// An odd curve: |h| > knee is h > knee or h < -knee.
template <typename T> [[gnu::always_inline]] inline T tube(T x, double drive, double span)
{
    const T h = x * drive;
    const T ah = absOf(h);
    const auto above = ah > static_cast<double>(kKnee);
    if (!anyLane(above)) // no curve, so no division, in the quiet stretches
        return h;
    return above ? withSignOf(shoulder(ah, kKnee, span, kTubeHeight), h) : h;
}

template <typename T> [[gnu::always_inline]] inline T clip(T out)
{
    out = out < static_cast<double>(kClip) ? out : splat<T>(kClip);
    return out > -static_cast<double>(kClip) ? out : splat<T>(-kClip);
}

template <bool Accumulate, typename F>
[[gnu::always_inline]] inline void write(float* out0, float* out1, F o)
{
    if constexpr (Accumulate) {
        store(out0, loadAs<F>(out0) + o);
        store(out1, loadAs<F>(out1) + o);
    } else {
        store(out0, o);
        store(out1, o);
    }
}

// Compressor off: every stage in one pass. Each step reads its frames of
// both inputs before it writes them, so the outputs may be the inputs.
template <bool Accumulate, bool Tube, typename T>
[[gnu::always_inline]] inline void directFrames(const BassBlock& b, const float* in0,
                                                const float* in1, float* out0, float* out1)
{
    const T x = monoSum(frames<T>(in0), frames<T>(in1));
    const T y = Tube ? tube(x, b.drive, b.drive - kKnee) : x;
    write<Accumulate>(out0, out1, toFloat(clip(y * b.mix + x * (1.0 - b.mix))));
}

template <typename D, bool Accumulate, bool Tube>
[[gnu::always_inline]] inline void direct(const BassBlock& b, const float* in0, const float* in1,
                                          float* out0, float* out1, int32_t n)
{
    int32_t i = 0;
    for (; i + kLanesOf<D> <= n; i += kLanesOf<D>)
        directFrames<Accumulate, Tube, D>(b, in0 + i, in1 + i, out0 + i, out1 + i);
    for (; i < n; i++)
        directFrames<Accumulate, Tube, double>(b, in0 + i, in1 + i, out0 + i, out1 + i);
}

// The dry sum alone (no stage, and a mix of 1 or no tube; a mix of 0 with
// any tube: y 0 + x = x, as y has the sign of x): in float, sixteen frames to
// a 512-bit register, with the same bits as the double path. For finite
// inputs the float sum is the double sum rounded once (when the double sum
// is inexact the operands are over 2^28 apart and the sum is nowhere near a
// float midpoint), halving commutes with rounding except below the normal
// range, where the sum is exact, and the clip bounds are floats, so clipping
// commutes with rounding; an infinity clips to the bound either way and a
// NaN gives 0.
template <typename F> [[gnu::always_inline]] inline F dryFrames(F in0, F in1)
{
    F x = (in0 + in1) * 0.5f;
    x = x == x ? x : F{} + 0.0f;
    x = x < kClip ? x : F{} + kClip;
    return x > -kClip ? x : F{} - kClip;
}

template <typename D, bool Accumulate>
[[gnu::always_inline]] inline void dry(const float* in0, const float* in1, float* out0, float* out1,
                                       int32_t n)
{
    // As wide as the version's registers: four floats even on baseline x86-64.
    using F =
        std::conditional_t<kLanesOf<D> == 8, F16, std::conditional_t<kLanesOf<D> == 4, F8, F4>>;
    constexpr int32_t lanes = static_cast<int32_t>(sizeof(F) / sizeof(float));
    int32_t i = 0;
    for (; i + lanes <= n; i += lanes)
        write<Accumulate>(out0 + i, out1 + i, dryFrames(loadAs<F>(in0 + i), loadAs<F>(in1 + i)));
    for (; i < n; i++)
        write<Accumulate>(out0 + i, out1 + i, dryFrames(in0[i], in1[i]));
}

// All wet (a mix of 1): the blend needs no dry sum.
template <bool Tube, bool Wet, typename T>
[[gnu::always_inline]] inline void shapeFrames(const BassBlock& b, const float* in0,
                                               const float* in1, Chunk& c, int32_t i)
{
    const T x = monoSum(frames<T>(in0 + i), frames<T>(in1 + i));
    const T y = Tube ? tube(x, b.drive, b.drive - kKnee) : x;
    const double g = b.compGain;
    const T v = y * g;
    const T a = absOf(v);
    const auto above = a > static_cast<double>(kThreshold);
    T target = splat<T>(kNoAttack);
    if (anyLane(above))
        target = above ? shoulder(a, kThreshold, g - kThreshold, kCompHeight) / a : target;
    if constexpr (!Wet)
        store(c.x + i, x);
    store(c.v + i, v);
    store(c.target + i, target);
}

template <typename D, bool Tube, bool Wet>
[[gnu::always_inline]] inline void shape(const BassBlock& b, const float* in0, const float* in1,
                                         int32_t n, Chunk& c)
{
    int32_t i = 0;
    for (; i + kLanesOf<D> <= n; i += kLanesOf<D>)
        shapeFrames<Tube, Wet, D>(b, in0, in1, c, i);
    for (; i < n; i++)
        shapeFrames<Tube, Wet, double>(b, in0, in1, c, i);
}

// For eight targets t (each >= 0 or NaN): the gain and step an attack sets,
// and the largest float F <= t, so that t < gain, gain a float, is F < gain
// (a NaN stays NaN and never attacks).
template <typename T>
[[gnu::always_inline]] inline void attackTermsOf(T t, double release, float* gain, float* step,
                                                 float* below)
{
    using F = decltype(toFloat(t));
    const F g = toFloat(t);
    const T wide = toDouble(g);
    store(gain, g);
    store(step, toFloat((1.0 - wide) / release));
    // Round to nearest went up: one float down, which for t >= 0 is the
    // integer below.
    if constexpr (kLanesOf<T> == 1) {
        store(below, wide > t ? std::nextafter(g, 0.0f) : g);
    } else {
        using M = std::conditional_t<kLanesOf<T> == 8, M8, M4>;
        const M up = __builtin_convertvector(wide > t, M); // -1 where it went up
        store(below, reinterpret_cast<F>(reinterpret_cast<M>(g) + up));
    }
}

template <typename D>
[[gnu::always_inline]] inline void attackTerms(const double* t, double release, float* gain,
                                               float* step, float* below)
{
    for (int32_t k = 0; k < kGroup; k += kLanesOf<D>)
        attackTermsOf(loadAs<D>(t + k), release, gain + k, step + k, below + k);
}

// The serial part: an attack sets the gain and its step; a gain >= 1 is
// neither applied nor stepped. `frame` serves the last frames of a chunk
// (fewer than eight), where the step's division is not needed until the next
// frame.
struct Envelope {
    float gain;
    float step;
    double release;

    [[gnu::always_inline]] void frame(Chunk& c, int32_t i)
    {
        if (c.target[i] < gain) {
            gain = static_cast<float>(c.target[i]);
            step = static_cast<float>((1.0 - gain) / release);
        }
        if (gain < 1.0f) {
            c.gain[i] = gain;
            gain += step;
        } else {
            c.gain[i] = 1.0f;
        }
    }

    // Eight frames where something happens. What an attack would set (gain
    // and step) and the attack test's float threshold depend only on the
    // targets, so they are worked out for the eight at once, and the chain
    // from one frame's gain to the next holds no division or conversion.
    // Plain selects, which the compiler turns into branches: blends on the
    // chain measured slower, though the attack test flips on 39 % of these
    // frames in Heavy.
    template <typename D> [[gnu::always_inline]] void group(Chunk& c, int32_t i)
    {
        float attackGain[kGroup], attackStep[kGroup], below[kGroup];
        attackTerms<D>(c.target + i, release, attackGain, attackStep, below);
        float g = gain, st = step;
        for (int32_t k = 0; k < kGroup; k++) {
            const bool attack = below[k] < g;
            g = attack ? attackGain[k] : g;
            st = attack ? attackStep[k] : st;
            const bool applied = g < 1.0f;
            c.gain[i + k] = applied ? g : 1.0f;
            g = applied ? g + st : g;
        }
        gain = g;
        step = st;
    }
};

// Eight frames at once where that changes nothing: no attack, and either the
// gain is held (>= 1) or every frame applies it and the eight float additions
// of the step add the same amount R each time, which holds inside one binade
// away from rounding ties. The candidate gains are checked by doing the
// eight additions side by side: gain + (k+1)R must be gain + kR plus the
// step, rounded, for each k, so by induction they are the serial values.
// `blended(from, to)` is called as soon as the gains of frames from..to are
// known, so the blend's vector work fills the ports the envelope's chain of
// dependent steps leaves idle, on data still in registers or L1.
template <typename D, typename Blended>
[[gnu::always_inline]] inline void envelope(BassState& s, double release, int32_t n, Chunk& c,
                                            Blended&& blended)
{
    const F8 lanes = {0, 1, 2, 3, 4, 5, 6, 7};
    Envelope e{s.gain, s.gainStep, release};
    F8 kR{}, k1R{};
    float r8 = 0.0f;
    auto regular = [&] {
        const float r = (e.gain + e.step) - e.gain;
        kR = lanes * r;
        k1R = (lanes + 1.0f) * r;
        r8 = 8.0f * r; // exact, so gain + r8 is the last lane of gain + k1R
    };
    regular();
    int32_t i = 0;
    // Without vector registers of eight floats the checks cost more than
    // they save.
    for (; kLanesOf < D >> 1 && i + kGroup <= n; i += kGroup) {
        if (e.gain < 1.0f) {
            const F8 g = e.gain + kR;
            const F8 next = e.gain + k1R;
            if (!anyAttackOr<D>((g + e.step != next) | (g >= 1.0f), c.target + i, g)) {
                store(c.gain + i, g);
                // The gain's own chain is one scalar addition a group; the
                // checks above run beside it.
                e.gain += r8;
                blended(i, i + kGroup);
                continue;
            }
        } else if (!anyAttackOr<D>(M8{}, c.target + i, F8{} + e.gain)) {
            store(c.gain + i, F8{} + 1.0f);
            blended(i, i + kGroup);
            continue;
        }
        e.template group<D>(c, i);
        regular();
        blended(i, i + kGroup);
    }
    const int32_t tail = i;
    for (; i < n; i++)
        e.frame(c, i);
    blended(tail, n);
    s.gain = e.gain;
    s.gainStep = e.step;
}

// A gain of exactly 1 leaves the frame as it is. With a mix of 1, v g 1 +
// x 0 is v g: v g has the sign of x (the tube keeps it, the gain is
// positive), so adding x 0, a zero of that sign, changes nothing, not even
// a zero's sign.
template <bool Accumulate, bool Wet, typename T>
[[gnu::always_inline]] inline void blendFrames(double mix, const Chunk& c, int32_t i, float* out0,
                                               float* out1)
{
    const T v = loadAs<T>(c.v + i);
    const T g = frames<T>(c.gain + i);
    if constexpr (Wet) {
        write<Accumulate>(out0 + i, out1 + i, toFloat(clip(v * g)));
    } else {
        const T x = loadAs<T>(c.x + i);
        write<Accumulate>(out0 + i, out1 + i, toFloat(clip(v * g * mix + x * (1.0 - mix))));
    }
}

template <typename D, bool Accumulate, bool Wet>
[[gnu::always_inline]] inline void blend(double mix, const Chunk& c, int32_t from, int32_t n,
                                         float* out0, float* out1)
{
    int32_t i = from;
    for (; i + kLanesOf<D> <= n; i += kLanesOf<D>)
        blendFrames<Accumulate, Wet, D>(mix, c, i, out0, out1);
    for (; i < n; i++)
        blendFrames<Accumulate, Wet, double>(mix, c, i, out0, out1);
}

// The shape pass reads every input frame of a chunk before the blend writes
// any, so the outputs may be the inputs, even crossed.
template <typename D, bool Accumulate, bool Wet>
[[gnu::always_inline]] inline void compressed(BassState& state, const BassBlock& block,
                                              const float* in0, const float* in1, float* out0,
                                              float* out1, int32_t sampleFrames)
{
    Chunk c; // 7 KiB on the stack: no allocation
    int32_t start = 0;
    const auto blended = [&](int32_t from, int32_t to) __attribute__((always_inline))
    {
        blend<D, Accumulate, Wet>(block.mix, c, from, to, out0 + start, out1 + start);
    };
    for (; start < sampleFrames; start += kChunk) {
        const int32_t n = sampleFrames - start < kChunk ? sampleFrames - start : kChunk;
        if (block.tubeOn)
            shape<D, true, Wet>(block, in0 + start, in1 + start, n, c);
        else
            shape<D, false, Wet>(block, in0 + start, in1 + start, n, c);
        envelope<D>(state, block.release, n, c, blended);
    }
}

template <typename D, bool Accumulate>
[[gnu::always_inline]] inline void compressed(BassState& state, const BassBlock& block,
                                              const float* in0, const float* in1, float* out0,
                                              float* out1, int32_t sampleFrames)
{
    if (block.mix == 1.0)
        compressed<D, Accumulate, true>(state, block, in0, in1, out0, out1, sampleFrames);
    else
        compressed<D, Accumulate, false>(state, block, in0, in1, out0, out1, sampleFrames);
}

template <typename D>
[[gnu::always_inline]] inline void run(BassState& state, const BassBlock& block, const float* in0,
                                       const float* in1, float* out0, float* out1,
                                       int32_t sampleFrames, bool accumulate)
{
    if (block.compOn) {
        if (accumulate)
            compressed<D, true>(state, block, in0, in1, out0, out1, sampleFrames);
        else
            compressed<D, false>(state, block, in0, in1, out0, out1, sampleFrames);
    } else if (block.mix == 0.0 || (block.mix == 1.0 && !block.tubeOn)) {
        if (accumulate)
            dry<D, true>(in0, in1, out0, out1, sampleFrames);
        else
            dry<D, false>(in0, in1, out0, out1, sampleFrames);
    } else if (block.tubeOn) {
        if (accumulate)
            direct<D, true, true>(block, in0, in1, out0, out1, sampleFrames);
        else
            direct<D, false, true>(block, in0, in1, out0, out1, sampleFrames);
    } else if (accumulate) {
        direct<D, true, false>(block, in0, in1, out0, out1, sampleFrames);
    } else {
        direct<D, false, false>(block, in0, in1, out0, out1, sampleFrames);
    }
}

// One version per instruction set: one frame at a time on baseline x86-64
// (the compiler's own vectors there are too narrow to pay), four with AVX2,
// eight where registers hold eight doubles.
void kernelBaseline(BassState& state, const BassBlock& block, const float* in0, const float* in1,
                    float* out0, float* out1, int32_t sampleFrames, bool accumulate)
{
    run<double>(state, block, in0, in1, out0, out1, sampleFrames, accumulate);
}

[[gnu::target("avx2")]] void kernelAvx2(BassState& state, const BassBlock& block, const float* in0,
                                        const float* in1, float* out0, float* out1,
                                        int32_t sampleFrames, bool accumulate)
{
    run<D4>(state, block, in0, in1, out0, out1, sampleFrames, accumulate);
}

[[gnu::target("avx512f")]] void kernelAvx512(BassState& state, const BassBlock& block,
                                             const float* in0, const float* in1, float* out0,
                                             float* out1, int32_t sampleFrames, bool accumulate)
{
    run<D8>(state, block, in0, in1, out0, out1, sampleFrames, accumulate);
}

// The loader picks the version once, through the resolver of these three.
__attribute__((target("default"))) void kernel(BassState& state, const BassBlock& block,
                                               const float* in0, const float* in1, float* out0,
                                               float* out1, int32_t sampleFrames, bool accumulate)
{
    kernelBaseline(state, block, in0, in1, out0, out1, sampleFrames, accumulate);
}

__attribute__((target("avx2"))) void kernel(BassState& state, const BassBlock& block,
                                            const float* in0, const float* in1, float* out0,
                                            float* out1, int32_t sampleFrames, bool accumulate)
{
    kernelAvx2(state, block, in0, in1, out0, out1, sampleFrames, accumulate);
}

__attribute__((target("avx512f"))) void kernel(BassState& state, const BassBlock& block,
                                               const float* in0, const float* in1, float* out0,
                                               float* out1, int32_t sampleFrames, bool accumulate)
{
    kernelAvx512(state, block, in0, in1, out0, out1, sampleFrames, accumulate);
}

} // namespace

void bassKernel(BassState& state, const BassBlock& block, const float* in0, const float* in1,
                float* out0, float* out1, int32_t sampleFrames, bool accumulate)
{
    kernel(state, block, in0, in1, out0, out1, sampleFrames, accumulate);
}

BassKernelFn bassKernelVersion(int index)
{
    __builtin_cpu_init();
    switch (index) {
    case 0: return kernelBaseline;
    case 1: return __builtin_cpu_supports("avx2") ? kernelAvx2 : nullptr;
    case 2: return __builtin_cpu_supports("avx512f") ? kernelAvx512 : nullptr;
    default: return nullptr;
    }
}
