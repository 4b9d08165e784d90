// AudioFormat: the format of an audio file to write, chosen from its
// extension and a sample size (--bits), as libsndfile names formats.
#pragma once

#include <cstdint>
#include <string>

class AudioFormat {
public:
    // `bits` is "16", "24", "32", "float" or "" for the format's default
    // (float where there is one, 24 for FLAC). Throws UsageError, one line,
    // for an extension libsndfile does not write or a size the format lacks.
    AudioFormat(const std::string& path, const std::string& bits);

    // The SF_FORMAT_* word for `frames` frames (negative: unknown) of
    // `channels` channels: a WAV that could pass the 4 GB a RIFF header can
    // count becomes RF64. Throws UsageError when a 4 GB format cannot hold it.
    int sndfileFormat(int64_t frames, int channels) const;

    // "FLAC 24-bit", "WAV 32-bit float", "Ogg Vorbis".
    std::string describe(int sndfileWord) const;

    // Whether `frames` frames of `channels` channels in this format could
    // pass 4 GB (2^32 - 1 bytes, less room for the header).
    bool mayPassFourGigabytes(int64_t frames, int channels) const;

private:
    std::string path;
    int container = 0; // SF_FORMAT_WAV, ...
    int encoding = 0;  // SF_FORMAT_PCM_16, ...
    int bytesPerSample = 0;
};
