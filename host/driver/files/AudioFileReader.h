// AudioFileReader: a mono or stereo audio file libsndfile reads, delivered
// block by block as left and right, mono copied to both sides.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

class AudioFileReader {
public:
    // Opens `path` for blocks of up to `blockFrames` frames. Throws
    // HostError "<path>: <reason>" for missing, unreadable or non-audio
    // files and for files with more than two channels.
    AudioFileReader(const std::string& path, int32_t blockFrames);
    ~AudioFileReader();
    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;

    int sampleRate() const { return info.samplerate; }
    int channels() const { return info.channels; }
    // As the file's header says; negative when it does not say.
    int64_t frames() const { return info.frames; }

    // Fills up to blockFrames frames; answers how many, 0 at the end. Throws
    // HostError when the file ends before its header said it would.
    int32_t read(float* left, float* right);

private:
    std::string path;
    SF_INFO info{};
    SNDFILE* file = nullptr;
    int32_t block;
    int64_t delivered = 0;
    std::vector<float> interleaved;
};
