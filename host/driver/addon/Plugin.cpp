// Plugin: creating, opening and closing an effect, and its dispatcher helpers.
#include "Plugin.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include "Watchdog.h"
#include "host/driver/HostError.h"
#include "platform/resources/ElfImage.h"

namespace {
// Third-party plug-ins write well past the protocol's nominal text lengths.
constexpr size_t kTextBuffer = 256;
constexpr size_t kPinBuffer = 256;
} // namespace

Plugin::Plugin(const std::string& path, HostSide side) : file(path)
{
    std::string why;
    if (!addOn.load(path, why))
        throw HostError(path + ": cannot load add-on: " + why);
    create(addOn.entry(), addOn.entryName(), side);
}

Plugin::Plugin(const std::function<AEffect*(HostCallback)>& entry, const std::string& name)
    : file(name)
{
    if (!entry)
        throw HostError(name + ": no entry function");
    create(entry, "function", HostSide::Recorded);
}

void Plugin::create(const std::function<AEffect*(HostCallback)>& entry,
                    const std::string& entryName, HostSide side)
{
    if (side == HostSide::Realtime) {
        live.beginLoading();
        fx = entry(&RealtimeHost::callback);
        live.attach(fx);
    } else {
        host.beginLoading();
        fx = entry(&HostRecorder::callback);
        host.attach(fx);
    }
    if (!fx)
        throw HostError(file + ": the entry point " + entryName + " returned no effect");
    if (fx->magic != kEffectMagic)
        throw HostError(file + ": the entry point returned a record without the effect magic");
    dispatch(effOpen);
}

Plugin::~Plugin()
{
    // effClose is how the effect is handed back; the plug-in frees it.
    if (fx)
        fx->dispatcher(fx, effClose, 0, 0, nullptr, 0.0f);
}

VstIntPtr Plugin::dispatch(int32_t opcode, int32_t index, VstIntPtr value, void* ptr, float opt)
{
    return fx->dispatcher(fx, opcode, index, value, ptr, opt);
}

VstIntPtr Plugin::dispatchWatched(Watchdog& dog, int32_t opcode, const char* what, void* ptr)
{
    const Watchdog::Watch watch(dog, file + ": " + what);
    return dispatch(opcode, 0, 0, ptr);
}

std::string Plugin::text(int32_t opcode, int32_t index)
{
    char buffer[kTextBuffer] = {};
    dispatch(opcode, index, 0, buffer);
    buffer[kTextBuffer - 1] = '\0';
    return buffer;
}

PinInfo Plugin::pin(int32_t opcode, int32_t index)
{
    // Larger than VstPinProperties: some plug-ins fill in fields beyond it.
    alignas(VstPinProperties) unsigned char buffer[kPinBuffer] = {};
    auto* pin = reinterpret_cast<VstPinProperties*>(buffer);
    PinInfo info;
    info.present = dispatch(opcode, index, 0, pin) != 0;
    pin->label[sizeof pin->label - 1] = '\0';
    info.label = pin->label;
    info.flags = pin->pinFlags;
    return info;
}

std::string Plugin::programName(int32_t index)
{
    char buffer[kTextBuffer] = {};
    if (dispatch(effGetProgramNameIndexed, index, -1, buffer) != 0) {
        buffer[kTextBuffer - 1] = '\0';
        return buffer;
    }
    const int32_t previous = currentProgram();
    selectProgram(index);
    std::string name = text(effGetProgramName);
    selectProgram(previous);
    return name;
}

void Plugin::prepare(double sampleRate, int32_t blockSize)
{
    suspend();
    dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    dispatch(effSetBlockSize, 0, blockSize);
    resume();
}

bool Plugin::canReplace() const
{
    return (fx->flags & kFlagCanReplacing) != 0 && fx->processReplacing != nullptr;
}

int32_t Plugin::inputChannels() const
{
    return std::max(fx->numInputs, 2);
}
int32_t Plugin::outputChannels() const
{
    return std::max(fx->numOutputs, 2);
}

std::string Plugin::codeFile() const
{
    if (!entryName().empty())
        return file;
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? file : self.string();
}

std::string Plugin::missingPictures() const
{
    const std::string path = codeFile();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return ""; // nothing to tell: the loader read it a moment ago
    const bool carries = ElfImage::findResourceContainer(fd).has_value();
    ::close(fd);
    if (carries)
        return "";
    return (entryName().empty() ? "the program " + path : std::string("the add-on")) +
           " carries no pictures; stripping the file (strip, cmake --install --strip) removes "
           "them, so use it as built";
}

std::string fourCharText(int32_t code)
{
    std::string s;
    const auto u = static_cast<uint32_t>(code);
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<char>((u >> shift) & 0xffu);
        s += (c >= 0x20 && c < 0x7f) ? c : '.';
    }
    return s;
}
