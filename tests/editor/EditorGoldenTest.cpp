// Golden pictures: the built add-on, loaded with dlopen, opens its editor in
// a headless window for programs 0 to 3, and every pixel must match the PNG
// committed under tests/golden (tests/support/GoldenPicture.h).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/driver/addon/AddOn.h"
#include "platform/backends/headless/HeadlessHost.h"
#include "tests/support/GoldenPicture.h"
#include "tests/support/HostCalls.h"

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
    AEffect* e = openEffect(recorder, addOn.entry());
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

class EditorGolden : public ::testing::TestWithParam<int> {};

TEST_P(EditorGolden, MatchesTheCommittedPicture)
{
    const int program = GetParam();
    const std::vector<uint8_t> actual = renderEditor(program);
    ASSERT_EQ(actual.size(), static_cast<size_t>(kWidth * kHeight * 4));
    const std::string name = "editor-p" + std::to_string(program);
    if (expectGolden(pictureOfBgra(actual, kWidth, kHeight), name))
        GTEST_SKIP() << "rewrote " << name;
}

INSTANTIATE_TEST_SUITE_P(Programs, EditorGolden, ::testing::Values(0, 1, 2, 3));

} // namespace
