// AudioFileWriter: two sides interleaved into libsndfile's frames.
#include "AudioFileWriter.h"

#include <utility>

AudioFileWriter::AudioFileWriter(const std::string& path, int format, int sampleRate,
                                 int32_t blockFrames)
    : interleaved(2 * static_cast<size_t>(blockFrames))
{
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = format;
    file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        why = sf_strerror(nullptr);
        return;
    }
    // The PEAK chunk carries a time stamp; without it equal audio gives
    // byte-identical files.
    sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

AudioFileWriter::~AudioFileWriter()
{
    if (file)
        sf_close(file);
}

bool AudioFileWriter::write(const float* left, const float* right, int32_t frames)
{
    if (!file)
        return false;
    const auto n = static_cast<size_t>(frames);
    for (size_t i = 0; i < n; ++i) {
        interleaved[2 * i] = left[i];
        interleaved[2 * i + 1] = right[i];
    }
    if (sf_writef_float(file, interleaved.data(), frames) == frames)
        return true;
    why = sf_strerror(file);
    return false;
}

std::string AudioFileWriter::finish()
{
    if (file && sf_close(std::exchange(file, nullptr)) != 0 && why.empty())
        why = "cannot finish the file";
    return why;
}
