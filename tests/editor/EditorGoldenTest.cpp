// Golden pictures: the built add-on, loaded with dlopen, opens its editor in
// a headless window for programs 0 to 3, and every pixel must match the PNG
// committed under tests/golden. A mismatch leaves the picture it got and a
// difference image beside the test's build folder.
//
// After a deliberate change of the look: WOBRIX_UPDATE_GOLDEN=1 rewrites
// the committed pictures; look at them before committing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host/driver/AddOn.h"
#include "host/driver/HostRecorder.h"
#include "platform/api/Bitmap.h"
#include "platform/api/DataIO.h"
#include "platform/api/TranslationUtils.h"
#include "platform/backends/headless/HeadlessHost.h"

namespace fs = std::filesystem;

namespace {

constexpr bigtime_t kPatience = 5000000;
constexpr int kWidth = 340;
constexpr int kHeight = 262;

// The editor's picture for one program, as a host would show it.
std::vector<uint8_t> renderEditor(int program)
{
    AddOn addOn;
    std::string error;
    EXPECT_TRUE(addOn.load(WOBRIX_ADDON, error)) << error;
    if (!addOn.entry())
        return {};
    HostRecorder recorder;
    recorder.beginLoading();
    AEffect* e = addOn.entry()(HostRecorder::callback);
    recorder.attach(e);
    EXPECT_NE(e, nullptr);
    if (!e)
        return {};
    e->dispatcher(e, effSetProgram, 0, program, nullptr, 0);
    std::vector<uint8_t> pixels;
    {
        HeadlessHost window(kWidth, kHeight);
        EXPECT_EQ(e->dispatcher(e, effEditOpen, 0, 0, window.record(), 0), 1);
        EXPECT_TRUE(window.redraw(kPatience));
        e->dispatcher(e, effEditIdle, 0, 0, nullptr, 0);
        EXPECT_TRUE(window.copyPixels(&pixels, kPatience));
        window.endInput();
        e->dispatcher(e, effEditClose, 0, 0, nullptr, 0);
    }
    e->dispatcher(e, effClose, 0, 0, nullptr, 0);
    return pixels;
}

// Decoded as blue, green, red, alpha rows of 4 x width bytes.
std::vector<uint8_t> readPng(const fs::path& path, int* width, int* height)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (bytes.empty())
        return {};
    BMemoryIO stream(bytes.data(), bytes.size());
    std::unique_ptr<BBitmap> picture(BTranslationUtils::GetBitmap(&stream));
    if (!picture)
        return {};
    const BRect b = picture->Bounds();
    *width = static_cast<int>(b.right - b.left) + 1;
    *height = static_cast<int>(b.bottom - b.top) + 1;
    std::vector<uint8_t> out(static_cast<size_t>(*width) * *height * 4);
    for (int y = 0; y < *height; y++)
        std::memcpy(out.data() + static_cast<size_t>(y) * *width * 4,
                    static_cast<const uint8_t*>(picture->Bits()) + y * picture->BytesPerRow(),
                    static_cast<size_t>(*width) * 4);
    return out;
}

// Writes rows of 4 x width bytes as a PNG, through a headless window's buffer.
void writePng(const fs::path& path, const std::vector<uint8_t>& pixels)
{
    HeadlessHost canvas(kWidth, kHeight);
    auto* to = static_cast<uint8_t*>(canvas.record()->pixels);
    for (int y = 0; y < kHeight; y++)
        std::memcpy(to + y * canvas.record()->stride, pixels.data() + y * kWidth * 4, kWidth * 4);
    EXPECT_EQ(canvas.savePng(path.c_str()), B_OK) << path;
}

bool sameColour(const uint8_t* a, const uint8_t* b)
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

class EditorGolden : public ::testing::TestWithParam<int> {};

TEST_P(EditorGolden, MatchesTheCommittedPicture)
{
    const int program = GetParam();
    const std::vector<uint8_t> actual = renderEditor(program);
    ASSERT_EQ(actual.size(), static_cast<size_t>(kWidth * kHeight * 4));
    const fs::path golden =
        fs::path(WOBRIX_GOLDEN_DIR) / ("editor-p" + std::to_string(program) + ".png");
    if (std::getenv("WOBRIX_UPDATE_GOLDEN")) {
        writePng(golden, actual);
        GTEST_SKIP() << "rewrote " << golden;
    }
    int width = 0, height = 0;
    const std::vector<uint8_t> expected = readPng(golden, &width, &height);
    ASSERT_FALSE(expected.empty()) << "cannot read " << golden;
    ASSERT_EQ(width, kWidth);
    ASSERT_EQ(height, kHeight);

    std::vector<uint8_t> diff(actual.size());
    int differing = 0, firstX = -1, firstY = -1;
    for (int i = 0; i < kWidth * kHeight; i++) {
        const uint8_t* a = &actual[i * 4];
        const uint8_t* x = &expected[i * 4];
        uint8_t* d = &diff[i * 4];
        if (sameColour(a, x)) {
            const auto grey = static_cast<uint8_t>((a[0] + a[1] + a[2]) / 12);
            d[0] = d[1] = d[2] = grey;
        } else {
            if (differing++ == 0)
                firstX = i % kWidth, firstY = i / kWidth;
            d[0] = 0, d[1] = 0, d[2] = 255;
        }
        d[3] = 255;
    }
    if (differing) {
        const fs::path out = fs::current_path() / "golden-out";
        fs::create_directories(out);
        const std::string stem = "editor-p" + std::to_string(program);
        writePng(out / (stem + ".actual.png"), actual);
        writePng(out / (stem + ".diff.png"), diff);
        const uint8_t* a = &actual[(firstY * kWidth + firstX) * 4];
        const uint8_t* x = &expected[(firstY * kWidth + firstX) * 4];
        char first[96];
        std::snprintf(first, sizeof first,
                      "first at (%d, %d): expected #%02X%02X%02X, got #%02X%02X%02X", firstX,
                      firstY, x[2], x[1], x[0], a[2], a[1], a[0]);
        FAIL() << differing << " pixels differ from " << golden << "; " << first
               << "; the picture and a difference image (red = differs) are in " << out;
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, EditorGolden, ::testing::Values(0, 1, 2, 3));

} // namespace
