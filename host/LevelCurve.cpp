// LevelCurve: one settle-then-measure render per input level.
#include "LevelCurve.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Renderer.h"

namespace {
constexpr int32_t kBlock = 512;
constexpr double kSettleSeconds = 0.4;  // past the compressor's attack and release
constexpr double kMeasureSeconds = 0.1; // whole cycles of the test tone
constexpr double kFloorDb = -120.0;
} // namespace

std::vector<LevelPoint> measureLevelCurve(Plugin& plugin, double sampleRate, int points,
                                          double fromDb, double toDb, double hz)
{
    const auto settle = static_cast<size_t>(kSettleSeconds * sampleRate);
    const auto total = settle + static_cast<size_t>(kMeasureSeconds * sampleRate);
    std::vector<float> unit(total);
    for (size_t i = 0; i < total; ++i)
        unit[i] = static_cast<float>(
            std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(i) / sampleRate));

    plugin.prepare(sampleRate, kBlock);
    Renderer renderer(plugin, kBlock, ProcessMode::Replacing);
    std::vector<LevelPoint> curve;
    std::vector<float> in(total), outL, outR;
    for (int k = 0; k < points; ++k) {
        const double db = points > 1 ? fromDb + (toDb - fromDb) * k / (points - 1) : fromDb;
        const double gain = std::pow(10.0, db / 20.0);
        for (size_t i = 0; i < total; ++i)
            in[i] = static_cast<float>(unit[i] * gain);
        plugin.suspend();
        plugin.resume();
        renderer.run(in, in, outL, outR);
        float peak = 0.0f;
        for (size_t i = settle; i < total; ++i)
            peak = std::max({peak, std::fabs(outL[i]), std::fabs(outR[i])});
        const double outDb = peak > 0.0f ? 20.0 * std::log10(static_cast<double>(peak)) : kFloorDb;
        curve.push_back({db, std::max(outDb, kFloorDb)});
    }
    plugin.suspend();
    return curve;
}
