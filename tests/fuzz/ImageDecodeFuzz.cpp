// Fuzz target: arbitrary bytes handed to the platform's picture decoder as
// a memory stream. A picture it accepts must have sane bounds and as many
// pixel bytes as it claims; the sanitizers catch any access outside them.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/api/DataIO.h"
#include "platform/api/TranslationUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    BMemoryIO stream(data, size);
    const std::unique_ptr<BBitmap> bitmap(BTranslationUtils::GetBitmap(&stream));
    if (bitmap == nullptr)
        return 0;
    const auto bounds = bitmap->Bounds();
    if (!(bounds.right >= bounds.left && bounds.bottom >= bounds.top))
        std::abort();
    const auto* bits = static_cast<const uint8_t*>(bitmap->Bits());
    unsigned sum = 0;
    for (int32_t i = 0; i < bitmap->BitsLength(); ++i)
        sum += bits[i];
    return static_cast<int>(sum & 0);
}
