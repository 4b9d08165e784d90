// The two stereo test signals of the processor benchmarks: steady sines, and
// bass notes with attacks and decays, which is what the compressor meets.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

struct BenchSignal {
    std::vector<float> left, right;
};

// 0.9 sin(0.013 i) and 0.7 sin(0.021 i): loud, smooth, never silent.
inline BenchSignal sineSignal(size_t frames)
{
    BenchSignal s{std::vector<float>(frames), std::vector<float>(frames)};
    for (size_t i = 0; i < frames; i++) {
        s.left[i] = 0.9f * std::sin(0.013f * static_cast<float>(i));
        s.right[i] = 0.7f * std::sin(0.021f * static_cast<float>(i));
    }
    return s;
}

// A 55 Hz note with its 110 Hz octave, struck every 256 ms at 48 kHz: 2 ms
// linear attack, 70 ms exponential decay, peak 0.9, plus noise of 0.01 on
// each channel. Ten seconds by default: a second stays in the caches, ten
// do not, and the later seconds cost more than the first.
inline constexpr size_t kBassFrames = 480000;

inline BenchSignal bassSignal(size_t frames = kBassFrames)
{
    constexpr double rate = 48000.0, strike = 0.256, attack = 0.002, decay = 0.070;
    constexpr double twoPi = 6.283185307179586;
    BenchSignal s{std::vector<float>(frames), std::vector<float>(frames)};
    uint32_t seed = 12345;
    auto noise = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<double>(seed >> 8) / 8388608.0 - 1.0;
    };
    for (size_t i = 0; i < frames; i++) {
        const double t = std::fmod(static_cast<double>(i) / rate, strike);
        const double envelope = t < attack ? t / attack : std::exp(-(t - attack) / decay);
        const double tone =
            0.45 * envelope * (std::sin(twoPi * 55.0 * t) + std::sin(twoPi * 110.0 * t));
        s.left[i] = static_cast<float>(tone + 0.01 * noise());
        s.right[i] = static_cast<float>(tone + 0.01 * noise());
    }
    return s;
}
