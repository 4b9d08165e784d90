// WavFile: libsndfile in, libsndfile out through writeThroughTemporary.
#include "WavFile.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host/driver/HostError.h"
#include "host/driver/OutputFile.h"

StereoAudio readAudio(const std::string& path)
{
    // libsndfile's messages do not tell "missing" from "not audio"; ask first.
    if (::access(path.c_str(), F_OK) != 0)
        throw HostError(path + ": no such file");
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        throw HostError(path + ": is a folder, not an audio file");
    if (::access(path.c_str(), R_OK) != 0)
        throw HostError(path + ": cannot read: " + std::strerror(errno));

    SF_INFO info{};
    SNDFILE* in = sf_open(path.c_str(), SFM_READ, &info);
    if (!in)
        throw HostError(path + ": not an audio file");
    if (info.channels < 1 || info.channels > 2) {
        sf_close(in);
        throw HostError(path + ": has " + std::to_string(info.channels) +
                        " channels; only mono and stereo are supported");
    }
    StereoAudio audio;
    audio.sampleRate = info.samplerate;
    audio.channels = info.channels;
    std::vector<float> interleaved(static_cast<size_t>(info.frames) *
                                   static_cast<size_t>(info.channels));
    const sf_count_t got = sf_readf_float(in, interleaved.data(), info.frames);
    sf_close(in);
    if (got != info.frames)
        throw HostError(path + ": cannot read all of the audio (file damaged?)");
    const auto frames = static_cast<size_t>(got);
    audio.left.resize(frames);
    audio.right.resize(frames);
    for (size_t i = 0; i < frames; ++i) {
        audio.left[i] = interleaved[i * static_cast<size_t>(info.channels)];
        audio.right[i] = interleaved[i * static_cast<size_t>(info.channels) +
                                     static_cast<size_t>(info.channels - 1)];
    }
    return audio;
}

void writeStereoFloatWav(const std::string& path, const StereoAudio& audio)
{
    writeThroughTemporary(path, [&audio](const std::string& temporary) -> std::string {
        SF_INFO info{};
        info.samplerate = audio.sampleRate;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* out = sf_open(temporary.c_str(), SFM_WRITE, &info);
        if (!out)
            return sf_strerror(nullptr);
        // The PEAK chunk carries a time stamp; without it equal audio gives
        // byte-identical files.
        sf_command(out, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
        const size_t frames = audio.frames();
        std::vector<float> interleaved(frames * 2);
        for (size_t i = 0; i < frames; ++i) {
            interleaved[2 * i] = audio.left[i];
            interleaved[2 * i + 1] = audio.right[i];
        }
        const sf_count_t wrote =
            sf_writef_float(out, interleaved.data(), static_cast<sf_count_t>(frames));
        std::string error = wrote == static_cast<sf_count_t>(frames) ? "" : sf_strerror(out);
        if (sf_close(out) != 0 && error.empty())
            error = "cannot finish the file";
        return error;
    });
}
