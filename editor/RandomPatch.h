// The random patch: new values for the effect's three parameters, drawn from
// bounded Gaussian distributions that favour useful settings.
#pragma once

#include <cstdint>
#include <functional>

class ParameterSink;

// A uniform source of 31-bit draws, 0 .. 2^31 - 1 (the C library's rand()
// on this platform). Tests inject scripted draws.
using RandomSource = std::function<int32_t()>;

class RandomPatch {
public:
    RandomPatch(); // draws from std::rand, seeded by the effect
    explicit RandomPatch(RandomSource source) : source(std::move(source)) {}

    // Polar method, one deviate of each accepted pair, rejected until it lies
    // in [lower, upper] (inclusive). Every attempt takes exactly two draws.
    float RandomGaussian(float mean, float deviation, float lower, float upper);

    // Below 0 gives 0, above 1 gives 1, anything else (NaN too) unchanged.
    static float ClampParam(float value);

    // Writes Compressor, Tube Dist and Mix, in that order, into `sink`;
    // whether the host is told is the sink's business (the effect itself
    // tells it nothing).
    void makeRandomPatch(ParameterSink& sink);

private:
    double uniform(); // one draw scaled to [0, 1)

    RandomSource source;
};
