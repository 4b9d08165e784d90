// WavFile: StereoAudio through AudioFileWriter, block by block.
#include "WavFile.h"

#include <sndfile.h>

#include <algorithm>

#include "AudioFileWriter.h"
#include "OutputFile.h"

namespace {

constexpr size_t kBlock = 65536;

} // namespace

void writeStereoFloatWav(const std::string& path, const StereoAudio& audio)
{
    writeThroughTemporary(path, [&audio](const std::string& temporary) -> std::string {
        AudioFileWriter out(temporary, SF_FORMAT_WAV | SF_FORMAT_FLOAT, audio.sampleRate,
                            static_cast<int32_t>(kBlock));
        for (size_t at = 0; at < audio.frames() && out.failure().empty(); at += kBlock) {
            const size_t n = std::min(kBlock, audio.frames() - at);
            out.write(audio.left.data() + at, audio.right.data() + at, static_cast<int32_t>(n));
        }
        return out.finish();
    });
}
