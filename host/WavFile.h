// WavFile: reading any mono or stereo audio file libsndfile knows, and
// writing stereo 32-bit float WAV so that a failed write never leaves a
// damaged file behind.
#pragma once

#include <string>
#include <vector>

struct StereoAudio {
    int sampleRate = 44100;
    int channels = 2; // of the source file; mono arrives copied to both sides
    std::vector<float> left, right;
    size_t frames() const { return left.size(); }
};

// Throws HostError "<path>: <reason>" for missing, unreadable or non-audio
// files and for files with more than two channels.
StereoAudio readAudio(const std::string& path);

// Writes to a temporary file beside `path` and renames it over `path` only
// once everything is written; on failure the temporary is removed, `path`
// is untouched and HostError is thrown.
void writeStereoFloatWav(const std::string& path, const StereoAudio& audio);
