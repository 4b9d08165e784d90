// RandomPatch: the Gaussian sampler and the patch's fixed order of draws.
#include "RandomPatch.h"

#include <cmath>
#include <cstdlib>

#include "effect/ZeltoBass.h"
#include "plugin/ParameterSink.h"

namespace {
constexpr double kHalfRange = 1073741824.0;          // 2^30
constexpr double kInvHalfRange = 1.0 / 1073741824.0; // 2^-30
constexpr double kInvRange = 1.0 / 2147483648.0;     // 2^-31
} // namespace

RandomPatch::RandomPatch() : source([] { return static_cast<int32_t>(std::rand()); }) {}

double RandomPatch::uniform()
{
    return source() * kInvRange;
}

float RandomPatch::RandomGaussian(float mean, float deviation, float lower, float upper)
{
    for (;;) {
        const int32_t a = source();
        const int32_t b = source();
        const float u = static_cast<float>((a - kHalfRange) * kInvHalfRange);
        const double v = (b - kHalfRange) * kInvHalfRange;
        const double s = static_cast<double>(u) * u + v * v;
        // s = 1 is accepted (it gives the mean); s = 0 would divide by zero.
        if (s > 1.0 || s == 0.0)
            continue;
        const float m = static_cast<float>(std::sqrt(-2.0 * std::log(s) / s));
        const float x = static_cast<float>(static_cast<double>(m) * u * deviation + mean);
        if (x < lower || x > upper)
            continue;
        return x;
    }
}

float RandomPatch::ClampParam(float value)
{
    if (value < 0.0f)
        return 0.0f;
    if (value > 1.0f)
        return 1.0f;
    return value;
}

void RandomPatch::makeRandomPatch(ParameterSink& sink)
{
    sink.setParameter(kCompressor, static_cast<float>(uniform())); // the effect limits it
    sink.setParameter(kTubeDist, RandomGaussian(0.0f, 1.5f, 0.0f, 1.0f));
    if (uniform() > 0.5)
        sink.setParameter(kMix, RandomGaussian(1.0f, 0.5f, 0.3f, 1.0f));
    else
        sink.setParameter(kMix, 1.0f);
}
