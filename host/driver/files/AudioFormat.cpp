// AudioFormat: the table of containers we write and the sample sizes each
// takes.
#include "AudioFormat.h"

#include <sndfile.h>
#include <strings.h>

#include <cstdio>

#include "host/driver/HostError.h"

namespace {

enum Sizes { kPcmAndFloat, kPcm16And24, kNone };

struct Container {
    const char* extension;
    int format;
    const char* name;
    Sizes sizes;
    bool fourGigabytes; // its header counts bytes in 32 bits
};

constexpr Container kContainers[] = {
    {"wav", SF_FORMAT_WAV, "WAV", kPcmAndFloat, true},
    {"rf64", SF_FORMAT_RF64, "RF64", kPcmAndFloat, false},
    {"w64", SF_FORMAT_W64, "Wave64", kPcmAndFloat, false},
    {"aiff", SF_FORMAT_AIFF, "AIFF", kPcmAndFloat, true},
    {"aif", SF_FORMAT_AIFF, "AIFF", kPcmAndFloat, true},
    {"caf", SF_FORMAT_CAF, "CAF", kPcmAndFloat, false},
    {"flac", SF_FORMAT_FLAC, "FLAC", kPcm16And24, false},
    {"ogg", SF_FORMAT_OGG, "Ogg Vorbis", kNone, false},
    {"oga", SF_FORMAT_OGG, "Ogg Vorbis", kNone, false},
};

constexpr const char* kExtensionList = ".wav, .flac, .ogg, .aiff, .w64, .rf64 or .caf";

// Leaves room below 2^32 for the header and the chunks libsndfile adds.
constexpr int64_t kFourGigabytes = 0xFFFFFFFFLL - (1 << 20);

const Container* containerOf(int format)
{
    for (const Container& c : kContainers)
        if (c.format == format)
            return &c;
    return nullptr;
}

} // namespace

AudioFormat::AudioFormat(const std::string& file, const std::string& bits) : path(file)
{
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        throw UsageError(path + ": no extension to choose the format by; name the file " +
                         kExtensionList);
    const std::string extension = path.substr(dot + 1);
    const Container* chosen = nullptr;
    for (const Container& c : kContainers)
        if (::strcasecmp(extension.c_str(), c.extension) == 0)
            chosen = &c;
    if (!chosen)
        throw UsageError(path + ": cannot write ." + extension + " audio; name the file " +
                         kExtensionList);
    container = chosen->format;

    if (chosen->sizes == kNone) {
        if (!bits.empty())
            throw UsageError("--bits " + bits + ": " + chosen->name +
                             " has no sample size; leave --bits out");
        encoding = SF_FORMAT_VORBIS;
        return;
    }
    const std::string size = bits.empty() ? (chosen->sizes == kPcm16And24 ? "24" : "float") : bits;
    if (size == "16") {
        encoding = SF_FORMAT_PCM_16;
        bytesPerSample = 2;
    } else if (size == "24") {
        encoding = SF_FORMAT_PCM_24;
        bytesPerSample = 3;
    } else if (size == "32" && chosen->sizes == kPcmAndFloat) {
        encoding = SF_FORMAT_PCM_32;
        bytesPerSample = 4;
    } else if (size == "float" && chosen->sizes == kPcmAndFloat) {
        encoding = SF_FORMAT_FLOAT;
        bytesPerSample = 4;
    } else if (chosen->sizes == kPcm16And24 && (size == "32" || size == "float")) {
        throw UsageError("--bits " + bits + ": " + chosen->name + " takes 16 or 24");
    } else {
        throw UsageError("--bits " + bits + ": must be 16, 24, 32 or float");
    }
}

bool AudioFormat::mayPassFourGigabytes(int64_t frames, int channels) const
{
    if (frames < 0)
        return true;
    // Compressed formats carry no byte count to overflow.
    return bytesPerSample > 0 &&
           frames > kFourGigabytes / (static_cast<int64_t>(channels) * bytesPerSample);
}

int AudioFormat::sndfileFormat(int64_t frames, int channels) const
{
    const Container* c = containerOf(container);
    if (c->fourGigabytes && mayPassFourGigabytes(frames, channels)) {
        if (container == SF_FORMAT_WAV)
            return SF_FORMAT_RF64 | encoding;
        if (frames >= 0) {
            char gigabytes[32];
            std::snprintf(gigabytes, sizeof gigabytes, "%.1f",
                          static_cast<double>(frames) * channels * bytesPerSample / 1e9);
            throw UsageError(path + ": " + gigabytes + " GB of audio do not fit the 4 GB of " +
                             c->name + "; name the file .wav, .w64, .rf64 or .caf");
        }
    }
    return container | encoding;
}

std::string AudioFormat::describe(int word) const
{
    const Container* c = containerOf(word & SF_FORMAT_TYPEMASK);
    const std::string name = c ? c->name : "audio";
    switch (word & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_16: return name + " 16-bit";
    case SF_FORMAT_PCM_24: return name + " 24-bit";
    case SF_FORMAT_PCM_32: return name + " 32-bit";
    case SF_FORMAT_FLOAT: return name + " 32-bit float";
    default: return name;
    }
}
