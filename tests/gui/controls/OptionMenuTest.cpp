// The option menu: its entry arithmetic with and without separators, what it
// draws with no current entry, and the pop-up menu run through the headless
// window's scripted menu choices.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ControlHarness.h"
#include "PixelCompare.h"
#include "gui/controls/COptionMenu.h"

namespace {

const CRect kBox{40, 30, 120, 46};

std::unique_ptr<COptionMenu> menuOf(const std::vector<std::string>& texts)
{
    auto menu = std::make_unique<COptionMenu>(kBox, nullptr, 5, nullptr, nullptr, 0);
    for (const std::string& t : texts)
        EXPECT_TRUE(menu->addEntry(const_cast<char*>(t.c_str())));
    return menu;
}

std::vector<std::string> textsOf(COptionMenu& menu)
{
    std::vector<std::string> out;
    char text[256];
    for (int32_t i = 0; menu.getEntry(i, text); i++)
        out.emplace_back(text);
    return out;
}

std::string current(COptionMenu& menu, bool withSeparators = true, int32_t* index = nullptr)
{
    char text[256] = "untouched";
    const int32_t i = menu.getCurrent(text, withSeparators);
    if (index)
        *index = i;
    return text;
}

} // namespace

TEST(OptionMenuEntries, InsertKeepsTheCurrentText)
{
    auto menu = menuOf({});
    EXPECT_EQ(menu->getCurrent(), -1);
    menu->addEntry(const_cast<char*>("a"));
    EXPECT_EQ(menu->getCurrent(), 0); // the first entry becomes current
    menu->addEntry(const_cast<char*>("b"));
    ASSERT_TRUE(menu->setCurrent(1));
    menu->addEntry(const_cast<char*>("x"), 0);
    EXPECT_EQ(textsOf(*menu), (std::vector<std::string>{"x", "a", "b"}));
    EXPECT_EQ(menu->getCurrent(), 2);
    EXPECT_EQ(current(*menu), "b");
    menu->addEntry(const_cast<char*>("end"), 99); // past the end appends
    menu->addEntry(nullptr);                      // null is an empty text
    EXPECT_EQ(textsOf(*menu), (std::vector<std::string>{"x", "a", "b", "end", ""}));
    EXPECT_EQ(menu->getNbEntries(), 5);
}

TEST(OptionMenuEntries, RemoveMovesTheCurrentEntryBack)
{
    auto menu = menuOf({"a", "b", "c"});
    menu->setCurrent(2);
    EXPECT_TRUE(menu->removeEntry(2));
    EXPECT_EQ(current(*menu), "b"); // the one before the removed current
    EXPECT_TRUE(menu->removeEntry(1));
    EXPECT_EQ(menu->getCurrent(), 0);
    menu->addEntry(const_cast<char*>("d"));
    EXPECT_TRUE(menu->removeEntry(0)); // entry 0 while current: none left current
    EXPECT_EQ(menu->getCurrent(), -1);
    EXPECT_EQ(current(*menu), "untouched");
    EXPECT_EQ(textsOf(*menu), (std::vector<std::string>{"d"}));
    EXPECT_FALSE(menu->removeEntry(1));
    EXPECT_FALSE(menu->removeEntry(-1));
    EXPECT_TRUE(menu->removeEntry(0));
    EXPECT_EQ(menu->getNbEntries(), 0);
    EXPECT_EQ(menu->getCurrent(), -1);

    auto more = menuOf({"a", "b", "c"});
    more->setCurrent(0);
    more->removeEntry(2); // after the current one: it stays
    EXPECT_EQ(current(*more), "a");
    EXPECT_TRUE(more->removeAllEntry());
    EXPECT_EQ(more->getNbEntries(), 0);
    EXPECT_EQ(more->getCurrent(), -1);
}

TEST(OptionMenuEntries, SeparatorsCountedAndNot)
{
    auto menu = menuOf({"a", "-", "b", "c"});
    EXPECT_FALSE(menu->setCurrent(1, true)); // a separator cannot be current
    EXPECT_EQ(menu->getCurrent(), 0);
    EXPECT_TRUE(menu->setCurrent(1, false));
    int32_t index = 0;
    EXPECT_EQ(current(*menu, true, &index), "b");
    EXPECT_EQ(index, 2);
    EXPECT_EQ(current(*menu, false, &index), "b");
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(menu->setCurrent(3, false)); // past the last choosable: the last position
    EXPECT_EQ(menu->getCurrent(nullptr, true), 3);
    EXPECT_FALSE(menu->setCurrent(4, false));
    EXPECT_FALSE(menu->setCurrent(-1, true));

    // Setting marks the menu dirty even when nothing changes.
    menu->setDirty(false);
    menu->setCurrent(3, true);
    EXPECT_TRUE(menu->isDirty());
}

TEST(OptionMenuEntries, LookupsLimitsAndLongTexts)
{
    auto menu = menuOf({"a", "b", "a"});
    EXPECT_EQ(menu->getIndex(const_cast<char*>("a")), 0);
    EXPECT_EQ(menu->getIndex(const_cast<char*>("z")), -1);
    EXPECT_EQ(menu->getIndex(nullptr), -1);
    EXPECT_TRUE(menu->getEntry(1, nullptr));
    EXPECT_FALSE(menu->getEntry(3, nullptr));

    std::string longText(300, 'q');
    menu->addEntry(longText.data());
    EXPECT_EQ(textsOf(*menu).back(), std::string(255, 'q'));

    auto full = menuOf({});
    for (int i = 0; i < COptionMenu::kMaxEntries; i++)
        ASSERT_TRUE(full->addEntry(const_cast<char*>("e")));
    EXPECT_FALSE(full->addEntry(const_cast<char*>("one too many"), 0));
    EXPECT_EQ(full->getNbEntries(), COptionMenu::kMaxEntries);
    EXPECT_EQ(full->getCurrent(), 0);
}

TEST(OptionMenuPictures, NoCurrentEntryDrawsAnEmptyBox)
{
    auto withText = menuOf({"Saw"});
    auto empty = menuOf({"Saw"});
    empty->removeEntry(0);
    empty->addEntry(const_cast<char*>("Saw"));
    empty->removeEntry(0); // no entries, none current
    auto blank = menuOf({""});
    Canvas a(160, 80, kBlack), b(160, 80, kBlack), c(160, 80, kBlack);
    CanvasContext ca(a), cb(b), cc(c);
    empty->draw(ca.get());
    blank->draw(cb.get());
    withText->draw(cc.get());
    EXPECT_TRUE(samePixels(a, b));
    EXPECT_FALSE(samePixels(a, c));
}

class OptionMenuMouse : public ::testing::Test {
protected:
    COptionMenu* addMenu(int32_t style, CBitmap* pressed = nullptr)
    {
        auto* menu = harness.add(new COptionMenu(kBox, harness.editor, 9, nullptr, pressed, style));
        for (const char* t : {"Sine", "Square", "-", "Saw", "-", "Noise"})
            menu->addEntry(const_cast<char*>(t));
        harness.show();
        return menu;
    }
    // Presses on the menu, answers the menu that opens, waits for the press.
    void choose(int32_t x, int32_t y, int32_t choice, uint32_t buttons = kPrimary)
    {
        HeadlessHost& host = harness.window.host();
        const uint32_t opened = host.menusOpened();
        const uint32_t serial = host.postPress(x, y, buttons);
        ASSERT_NE(serial, 0u);
        ASSERT_TRUE(host.waitMenuOpened(opened + 1, 5000000));
        host.answerMenu(choice);
        ASSERT_TRUE(host.waitMenuClosed(opened + 1, 5000000));
        ASSERT_TRUE(harness.pressDone(serial, 5000000));
        harness.set(x, y, 0);
    }
    ControlHarness harness;
};

TEST_F(OptionMenuMouse, ChoosingSetsThePositionCountedWithSeparators)
{
    COptionMenu* menu = addMenu(kStyleMarkCurrent);
    choose(50, 35, 2); // Sine, Square, Saw: the third choosable item
    EXPECT_EQ(harness.editor->values(), (std::vector<float>{3.0f}));
    EXPECT_EQ(harness.editor->senders(), (std::vector<int32_t>{9}));
    EXPECT_EQ(current(*menu), "Saw");
    EXPECT_EQ(menu->getValue(), 3.0f);
    EXPECT_EQ(harness.window.host().menuItems(), 4); // separators are lines, not items
    // It opened at the control's bottom-left corner on the screen.
    EXPECT_EQ(harness.window.host().menuLocation().x, kScreenLeft + kBox.left);
    EXPECT_EQ(harness.window.host().menuLocation().y, kScreenTop + kBox.bottom);

    choose(50, 35, 3, kSecondary); // the secondary button opens it too
    EXPECT_EQ(current(*menu), "Noise");
    EXPECT_EQ(menu->getValue(), 5.0f);
}

TEST_F(OptionMenuMouse, DismissedOrOutOfRangeChangesNothing)
{
    COptionMenu* menu = addMenu(kStyleMenuOnTop);
    choose(50, 35, -1);
    choose(50, 35, 17);
    EXPECT_TRUE(harness.editor->values().empty());
    EXPECT_EQ(current(*menu), "Sine");
    EXPECT_EQ(harness.window.host().menuLocation().y,
              kScreenTop + kBox.top); // on top: the top-left corner
    // The tertiary button alone opens nothing.
    const uint32_t opened = harness.window.host().menusOpened();
    harness.click(50, 35, 4);
    EXPECT_EQ(harness.window.host().menusOpened(), opened);
}

TEST_F(OptionMenuMouse, WithoutAListenerTheChoiceStillLands)
{
    auto* menu = harness.add(new COptionMenu(kBox, nullptr, 9, nullptr, nullptr, 0));
    menu->addEntry(const_cast<char*>("one"));
    menu->addEntry(const_cast<char*>("two"));
    harness.show();
    choose(50, 35, 1);
    EXPECT_EQ(current(*menu), "two");
}
