// BassRiff: two bars of sixteenths in E minor. Each note is a saw through a
// one-pole low-pass plus a sine an octave down, with a short attack and an
// exponential decay; the two sides are detuned slightly so stereo differs.
#include "BassRiff.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct Note {
    int midi;  // 0: rest
    int steps; // length in sixteenths
    float velocity;
};

// E1 G1 A1 B1 D2 E2 …, with rests and accents for a groove; 32 steps, 4 s.
constexpr Note kRiff[] = {
    {28, 2, 1.0f}, {28, 1, 0.6f}, {40, 1, 0.8f}, {0, 1, 0}, {31, 2, 0.9f}, {33, 1, 0.7f},
    {28, 2, 1.0f}, {35, 1, 0.7f}, {38, 2, 0.9f}, {0, 1, 0}, {40, 2, 0.8f}, {28, 2, 1.0f},
    {28, 1, 0.6f}, {40, 1, 0.8f}, {31, 2, 0.9f}, {0, 1, 0}, {33, 1, 0.7f}, {35, 2, 1.0f},
    {33, 1, 0.7f}, {31, 2, 0.9f}, {26, 3, 1.0f},
};

double midiHz(int midi)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

} // namespace

StereoAudio makeBassRiff(int sampleRate)
{
    const double rate = sampleRate;
    const double stepSeconds = 60.0 / 120.0 / 4.0; // sixteenths at 120 BPM
    StereoAudio audio;
    audio.sampleRate = sampleRate;
    audio.channels = 2;
    {
        for (const Note& note : kRiff) {
            const auto length = static_cast<size_t>(note.steps * stepSeconds * rate);
            double phaseL = 0.0, phaseR = 0.0, phaseSub = 0.0, lowL = 0.0, lowR = 0.0;
            const double hz = note.midi ? midiHz(note.midi) : 0.0;
            // Brighter on accents: the low-pass opens with velocity.
            const double cutoff = 300.0 + 1200.0 * note.velocity;
            const double a = 1.0 - std::exp(-2.0 * std::numbers::pi * cutoff / rate);
            for (size_t i = 0; i < length; ++i) {
                const double t = static_cast<double>(i) / rate;
                const double release = static_cast<double>(length - i) / rate;
                double env = 0.0;
                if (note.midi)
                    env = note.velocity * std::min(1.0, t / 0.004) * std::exp(-t * 5.0) *
                          std::min(1.0, release / 0.01);
                phaseL += hz / rate;
                phaseR += hz * 1.003 / rate;
                phaseSub += hz * 0.5 / rate;
                phaseL -= std::floor(phaseL);
                phaseR -= std::floor(phaseR);
                lowL += a * ((2.0 * phaseL - 1.0) - lowL);
                lowR += a * ((2.0 * phaseR - 1.0) - lowR);
                const double sub = std::sin(2.0 * std::numbers::pi * phaseSub);
                audio.left.push_back(static_cast<float>(0.45 * env * (0.7 * lowL + 0.5 * sub)));
                audio.right.push_back(static_cast<float>(0.45 * env * (0.7 * lowR + 0.5 * sub)));
            }
        }
    }
    return audio;
}
