// WavFile: stereo audio held in memory (the demo's riff and its renders),
// and writing it as a 32-bit float WAV that never appears half written.
#pragma once

#include <string>
#include <vector>

struct StereoAudio {
    int sampleRate = 44100;
    int channels = 2; // of the source; mono arrives copied to both sides
    std::vector<float> left, right;
    size_t frames() const { return left.size(); }
};

// Writes through writeThroughTemporary: on failure `path` is untouched and
// HostError is thrown.
void writeStereoFloatWav(const std::string& path, const StereoAudio& audio);
