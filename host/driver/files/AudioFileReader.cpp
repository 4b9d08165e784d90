// AudioFileReader: libsndfile's interleaved frames split into two sides.
#include "AudioFileReader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host/driver/HostError.h"

AudioFileReader::AudioFileReader(const std::string& file, int32_t blockFrames)
    : path(file), block(blockFrames)
{
    // libsndfile's messages do not tell "missing" from "not audio"; ask first.
    if (::access(path.c_str(), F_OK) != 0)
        throw HostError(path + ": no such file");
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        throw HostError(path + ": is a folder, not an audio file");
    if (::access(path.c_str(), R_OK) != 0)
        throw HostError(path + ": cannot read: " + std::strerror(errno));
    this->file = sf_open(path.c_str(), SFM_READ, &info);
    if (!this->file)
        throw HostError(path + ": not an audio file");
    if (info.channels < 1 || info.channels > 2) {
        sf_close(this->file);
        throw HostError(path + ": has " + std::to_string(info.channels) +
                        " channels; only mono and stereo are supported");
    }
    // Headers of streams that do not know their length say SF_COUNT_MAX.
    if (info.frames == SF_COUNT_MAX)
        info.frames = -1;
    interleaved.resize(static_cast<size_t>(block) * static_cast<size_t>(info.channels));
}

AudioFileReader::~AudioFileReader()
{
    sf_close(file);
}

int32_t AudioFileReader::read(float* left, float* right)
{
    const sf_count_t got = sf_readf_float(file, interleaved.data(), block);
    if (got <= 0 && info.frames >= 0 && delivered < info.frames)
        throw HostError(path + ": cannot read all of the audio (file damaged?)");
    const auto n = static_cast<size_t>(got > 0 ? got : 0);
    const auto c = static_cast<size_t>(info.channels);
    for (size_t i = 0; i < n; ++i) {
        left[i] = interleaved[i * c];
        right[i] = interleaved[i * c + c - 1];
    }
    delivered += got > 0 ? got : 0;
    return static_cast<int32_t>(n);
}
