// SoundFile: a whole audio file read back with libsndfile, for tests that
// check what the host wrote: its format, rate, length and samples.
#pragma once

#include <sndfile.h>

#include <filesystem>
#include <vector>

struct SoundFile {
    SF_INFO info{};             // all zero when the file cannot be read
    std::vector<float> samples; // interleaved
};

inline SoundFile readSoundFile(const std::filesystem::path& path)
{
    SoundFile file;
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &file.info);
    if (!f)
        return file;
    file.samples.resize(static_cast<size_t>(file.info.frames * file.info.channels));
    sf_readf_float(f, file.samples.data(), file.info.frames);
    sf_close(f);
    return file;
}
