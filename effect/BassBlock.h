// The per-block constants of the bass processor and its carried state, shared
// by the processor and by the per-sample reference the tests compare it with.
#pragma once

#include <cmath>

// Single-precision constants of the two curves; compared and multiplied in
// double precision, so each keeps its float value (0.6f is 0.60000002).
namespace bass {
inline constexpr float kKnee = 0.6f;              // tube clipper knee
inline constexpr float kCurveScale = 0.707107f;   // both shapers
inline constexpr float kTubeHeight = 0.79999995f; // one float step below 0.8
inline constexpr float kThreshold = 0.31f;        // compressor threshold
inline constexpr float kCompHeight = 1.38f;       // compressor curve height
inline constexpr float kClip = 0.999f;            // output clip, both signs
inline constexpr float kReleaseSeconds = 0.25f;
} // namespace bass

// The compressor's envelope; carries over from block to block.
struct BassState {
    float gain = 1.0f;     // >= 1 means no gain reduction
    float gainStep = 0.0f; // added per sample while gain < 1
};

// Everything that depends only on the parameters, computed once per block.
struct BassBlock {
    double drive;   // tube drive = 4 t + 1, > 1 when the stage runs
    float compGain; // compressor input gain = 1 / (1 - c), > 1 when it runs
    float release;  // release length in samples, at least 1
    double mix;     // weight of the processed signal
    bool tubeOn;
    bool compOn;
};

// A parameter that is not a finite number switches its stage off (tube,
// compressor) or counts as all processed (mix), so no host value can make the
// processor produce NaN.
inline BassBlock makeBassBlock(float tubeDist, float compressor, float mix, float sampleRate)
{
    if (!std::isfinite(tubeDist))
        tubeDist = 0.0f;
    if (!std::isfinite(compressor))
        compressor = 0.0f;
    if (!std::isfinite(mix))
        mix = 1.0f;
    BassBlock b;
    b.drive = 4.0 * tubeDist + 1.0;
    b.compGain = static_cast<float>(1.0 / (1.0 - compressor));
    // Below one sample the step (1 - gain) / release could overflow.
    b.release = std::fmax(sampleRate * bass::kReleaseSeconds, 1.0f);
    b.mix = mix;
    b.tubeOn = tubeDist > 0.0f;
    b.compOn = compressor > 0.0f;
    return b;
}
