// The bass add-on driven as a careless host drives it: random dispatcher
// opcodes, indices, values and texts, parameter writes of any float, and
// audio blocks of any length and content in between. Every pointer handed
// over is an exactly sized heap buffer, so the address sanitizer stops any
// write past it; a buffer the opcode gives the add-on nothing to write into
// must come back unchanged, and every output sample must be finite and within
// the clip level.
//
// The first byte picks the entry (Linux hosts or our own hosts). Both have an
// editor that is never opened: what opcode 14 takes is a live object of the
// host's (an X11 window, a window record), so it gets null.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/driver/addon/RealtimeHost.h"
#include "plugin/AEffect.h"
#include "plugin/HostText.h"

extern "C" AEffect* VSTPluginMain(HostCallback host);
extern "C" AEffect* main_plugin(HostCallback host);

namespace {

constexpr int kMaxSteps = 200;
constexpr int32_t kMaxBlock = 700; // over two of the kernel's chunks
constexpr float kClip = 0.999f;

[[noreturn]] void fail(const char* what, int32_t opcode)
{
    std::fprintf(stderr, "dispatcher fuzz: %s (opcode %d)\n", what, opcode);
    std::abort();
}

// What the pointer of an opcode points at, as a host provides it.
enum class Pointer {
    Opaque,   // the add-on has nothing to write there
    TextOut,  // a text buffer the add-on fills
    TextIn,   // a zero-terminated text the host wrote
    PinOut,   // a VstPinProperties
    RectOut,  // an ERect* the add-on sets
    ChunkOut, // a void* the add-on sets
    ChunkIn,  // `value` bytes of data
    Null,     // always null (a live object of the host's)
};

Pointer pointerOf(int32_t opcode, bool /*hasEditor*/)
{
    switch (opcode) {
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effGetProgramNameIndexed:
    case effGetEffectName:
    case effGetErrorText:
    case effGetVendorString:
    case effGetProductString: return Pointer::TextOut;
    case effSetProgramName:
    case effString2Parameter:
    case effCanDo: return Pointer::TextIn;
    case effGetInputProperties:
    case effGetOutputProperties: return Pointer::PinOut;
    case effEditGetRect: return Pointer::RectOut;
    case effGetChunk: return Pointer::ChunkOut;
    case effSetChunk: return Pointer::ChunkIn;
    case effEditOpen: return Pointer::Null;
    default: return Pointer::Opaque;
    }
}

volatile unsigned sink;

// Reading every byte makes the address sanitizer check the range.
void touch(const void* p, size_t n)
{
    unsigned sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += static_cast<const unsigned char*>(p)[i];
    sink = sum;
}

void dispatch(AEffect* effect, bool hasEditor, FuzzedDataProvider& in)
{
    // Mostly the protocol's opcodes, sometimes anything.
    const int32_t opcode = in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(0, 60)
                                            : in.ConsumeIntegral<int32_t>();
    if (opcode == effClose)
        return; // the end of the record: the caller closes last
    const int32_t index = in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(-2, 8)
                                           : in.ConsumeIntegral<int32_t>();
    VstIntPtr value = in.ConsumeBool() ? in.ConsumeIntegralInRange<VstIntPtr>(-2, 8)
                                       : in.ConsumeIntegral<VstIntPtr>();
    const float opt = in.ConsumeFloatingPoint<float>();
    const Pointer kind = pointerOf(opcode, hasEditor);

    std::vector<char> buffer;
    switch (kind) {
    case Pointer::TextOut: buffer.assign(kHostTextSize, '\x7f'); break;
    case Pointer::TextIn: {
        const std::string text = in.ConsumeRandomLengthString(64);
        buffer.assign(text.c_str(), text.c_str() + std::strlen(text.c_str()) + 1);
        break;
    }
    case Pointer::PinOut: buffer.assign(sizeof(VstPinProperties), '\x7f'); break;
    case Pointer::RectOut: buffer.assign(sizeof(ERect*), 0); break;
    case Pointer::ChunkOut: buffer.assign(sizeof(void*), 0); break;
    case Pointer::ChunkIn:
        value = in.ConsumeIntegralInRange<VstIntPtr>(0, 256);
        buffer = in.ConsumeBytes<char>(static_cast<size_t>(value));
        value = static_cast<VstIntPtr>(buffer.size());
        break;
    case Pointer::Opaque: buffer = in.ConsumeBytes<char>(in.ConsumeIntegralInRange(1, 96)); break;
    case Pointer::Null: break;
    }
    // The speaker opcode carries a second record in `value`.
    std::vector<char> second;
    if (opcode == effSetSpeakerArrangement) {
        second.assign(96, '\x5a');
        value = reinterpret_cast<VstIntPtr>(second.data());
    }
    const bool nullPointer =
        kind == Pointer::Null || buffer.empty() || in.ConsumeIntegral<uint8_t>() < 16;
    // Its own copy, exactly sized, so the sanitizer's red zone follows it.
    char* ptr = nullPointer ? nullptr : new char[buffer.size()];
    if (ptr)
        std::memcpy(ptr, buffer.data(), buffer.size());

    const VstIntPtr result = effect->dispatcher(effect, opcode, index, value, ptr, opt);

    if (ptr) {
        switch (kind) {
        case Pointer::TextOut:
            if (!std::memchr(ptr, 0, kHostTextSize) &&
                std::memcmp(ptr, buffer.data(), kHostTextSize))
                fail("a text left without its terminator", opcode);
            break;
        case Pointer::PinOut:
            if (result && !std::memchr(ptr, 0, sizeof VstPinProperties::label))
                fail("a pin label left without its terminator", opcode);
            break;
        case Pointer::RectOut: {
            const ERect* rect = *reinterpret_cast<ERect**>(ptr);
            if (result && !rect)
                fail("a rectangle answered but not given", opcode);
            if (rect)
                touch(rect, sizeof *rect);
            break;
        }
        case Pointer::ChunkOut:
            if (result > 0)
                touch(*reinterpret_cast<void**>(ptr), static_cast<size_t>(result));
            break;
        case Pointer::TextIn:
        case Pointer::ChunkIn:
        case Pointer::Opaque:
            if (std::memcmp(ptr, buffer.data(), buffer.size()) != 0)
                fail("wrote into a buffer it was not asked to fill", opcode);
            break;
        case Pointer::Null: break;
        }
    }
    if (!second.empty() &&
        std::any_of(second.begin(), second.end(), [](char c) { return c != 0x5a; }))
        fail("wrote into the input arrangement", opcode);
    delete[] ptr;
}

// One block of any length (0 included) and samples of any bits, through
// either entry; every output must be finite and within the clip.
void render(AEffect* effect, FuzzedDataProvider& in)
{
    const int32_t frames = in.ConsumeIntegralInRange<int32_t>(0, kMaxBlock);
    const bool accumulate = in.ConsumeBool();
    const size_t n = static_cast<size_t>(frames);
    float* inputs[2] = {new float[n ? n : 1], new float[n ? n : 1]};
    float* outputs[2] = {new float[n ? n : 1](), new float[n ? n : 1]()};
    for (size_t i = 0; i < n; ++i) {
        // Runs of one value, then fresh ones: held levels let the compressor settle.
        for (float* channel : inputs)
            channel[i] =
                (i > 0 && in.ConsumeBool()) ? channel[i - 1] : in.ConsumeFloatingPoint<float>();
    }
    if (accumulate)
        effect->process(effect, inputs, outputs, frames);
    else
        effect->processReplacing(effect, inputs, outputs, frames);
    for (float* channel : outputs)
        for (size_t i = 0; i < n; ++i)
            if (!std::isfinite(channel[i]) || std::fabs(channel[i]) > kClip) {
                std::fprintf(stderr, "dispatcher fuzz: sample %zu of %d is %g\n", i, frames,
                             static_cast<double>(channel[i]));
                std::abort();
            }
    for (float* p : inputs)
        delete[] p;
    for (float* p : outputs)
        delete[] p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool ownHosts = in.ConsumeBool();
    AEffect* effect =
        ownHosts ? main_plugin(RealtimeHost::callback) : VSTPluginMain(RealtimeHost::callback);
    if (!effect)
        return 0;
    const bool hasEditor = (effect->flags & kFlagHasEditor) != 0;
    if (!hasEditor)
        fail("the entry's effect has no editor", 0);
    for (int step = 0; step < kMaxSteps && in.remaining_bytes() > 0; ++step) {
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
        case 1: dispatch(effect, hasEditor, in); break;
        case 2: {
            // The parameter interface, with any index and any float.
            const int32_t index = in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(-1, 6)
                                                   : in.ConsumeIntegral<int32_t>();
            effect->setParameter(effect, index, in.ConsumeFloatingPoint<float>());
            static_cast<void>(effect->getParameter(effect, index));
            break;
        }
        default: render(effect, in); break;
        }
    }
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0);
    return 0;
}
