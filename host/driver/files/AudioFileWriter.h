// AudioFileWriter: a stereo audio file written block by block through
// libsndfile, from separate left and right sides.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

class AudioFileWriter {
public:
    // Creates `path` in the SF_FORMAT_* word `format` for blocks of up to
    // `blockFrames` frames. Integer formats clip rather than wrap. When it
    // cannot, failure() says why.
    AudioFileWriter(const std::string& path, int format, int sampleRate, int32_t blockFrames);
    ~AudioFileWriter();
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    // False, with failure() saying why (a full disk), when it fails.
    bool write(const float* left, const float* right, int32_t frames);
    // Completes the file: "" when it is whole, else why not.
    std::string finish();

    // libsndfile's reason for the last failure; "" while all is well.
    const std::string& failure() const { return why; }

private:
    SNDFILE* file = nullptr;
    std::string why;
    std::vector<float> interleaved;
};
