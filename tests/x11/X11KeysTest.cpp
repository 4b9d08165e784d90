// The X11 back end's one key table read both ways: what the input driver
// presses for a key is what the editor's window reads back as that key.
#include <gtest/gtest.h>

#include <string>

#include "platform/backends/x11/X11Keys.h"

namespace {

TEST(X11Keys, ABytesKeyReadsBackAsTheSameBytes)
{
    const std::string keys[] = {{B_HOME},
                                {B_END},
                                {B_BACKSPACE},
                                {B_TAB},
                                {B_ENTER},
                                {B_ESCAPE},
                                {B_LEFT_ARROW},
                                {B_RIGHT_ARROW},
                                {B_UP_ARROW},
                                {B_DOWN_ARROW},
                                {B_DELETE},
                                " ",
                                "a",
                                "~",
                                "\xC3\xA9",
                                "\xC2\xA0",
                                "\xE2\x82\xAC",
                                "\xC4\x80",
                                "\xF0\x9F\x8E\xB8"};
    for (const std::string& k : keys) {
        const xcb_keysym_t key = x11keys::keyOf(k.data(), static_cast<int32_t>(k.size()));
        ASSERT_NE(key, 0u) << k;
        char back[4] = {};
        const int32_t length = x11keys::bytesOf(key, back);
        EXPECT_EQ(std::string(back, static_cast<size_t>(length)), k);
    }
    EXPECT_EQ(x11keys::keyOf("\xC3\xA9", 2), xcb_keysym_t{XK_eacute});
    EXPECT_EQ(x11keys::keyOf("\xE2\x82\xAC", 3), xcb_keysym_t{0x010020AC});
    // Control bytes, bad UTF-8 and more than one character are no key.
    for (const std::string& none : {std::string("\x02"), std::string("\xE2\x82"), std::string("ab"),
                                    std::string("\xED\xA0\x80")})
        EXPECT_EQ(x11keys::keyOf(none.data(), static_cast<int32_t>(none.size())), 0u);
    // Keys the editor does not take.
    char bytes[4] = {};
    EXPECT_EQ(x11keys::bytesOf(XK_F1, bytes), 0);
    EXPECT_EQ(x11keys::bytesOf(XK_Shift_L, bytes), 0);
    EXPECT_EQ(x11keys::bytesOf(XK_KP_Enter, bytes), 1);
    EXPECT_EQ(bytes[0], B_ENTER);
}

TEST(X11Keys, ModifierAndButtonMasksReadAsOurBits)
{
    EXPECT_EQ(x11keys::modifiersOf(XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 |
                                   XCB_MOD_MASK_4 | XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2),
              B_SHIFT_KEY | B_COMMAND_KEY | B_OPTION_KEY | B_CONTROL_KEY);
    EXPECT_EQ(x11keys::buttonsOf(XCB_BUTTON_MASK_3), B_SECONDARY_MOUSE_BUTTON);
    EXPECT_EQ(x11keys::buttonsOf(XCB_BUTTON_MASK_2), B_TERTIARY_MOUSE_BUTTON);
    EXPECT_EQ(x11keys::buttonOf(1), B_PRIMARY_MOUSE_BUTTON);
    EXPECT_EQ(x11keys::buttonOf(4), 0u); // the wheel
}

} // namespace
