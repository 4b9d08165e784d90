// The text edit: its text limits and dirty rule, what it shows through a
// converter, and editing through the headless window's scripted keys: the
// commit rules (Tab and Enter end the edit and never enter the text, no
// change means no notification), a click elsewhere, and deletion mid-edit.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <memory>
#include <string>

#include "ControlHarness.h"
#include "PixelCompare.h"
#include "gui/PlugView.h"
#include "gui/controls/CTextEdit.h"
#include "platform/api/InterfaceDefs.h"

namespace {

const CRect kBox{40, 30, 160, 48};

std::string textOf(CTextEdit& edit)
{
    char text[256];
    edit.getText(text);
    return text;
}

void upperCase(char* text, char* display)
{
    size_t i = 0;
    for (; text[i]; i++)
        display[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    display[i] = '\0';
}

} // namespace

TEST(TextEditText, LimitsAndTheDirtyRule)
{
    const std::string longText(300, 'w');
    CTextEdit edit(kBox, nullptr, 1, longText.c_str(), nullptr, 0);
    EXPECT_EQ(textOf(edit), std::string(255, 'w'));
    CTextEdit none(kBox, nullptr, 1, nullptr, nullptr, 0);
    EXPECT_EQ(textOf(none), "");

    // 127 two-byte characters fill 254 bytes; a 128th would not fit whole.
    std::string wide;
    for (int i = 0; i < 140; i++)
        wide += "\xC3\xA9";
    none.setText(wide.data());
    EXPECT_EQ(textOf(none).size(), 254u);

    edit.setDirty(false);
    std::string same = longText; // cut to what is shown already
    edit.setText(same.data());
    EXPECT_FALSE(edit.isDirty());
    edit.setText(nullptr);
    EXPECT_FALSE(edit.isDirty());
    edit.setText(const_cast<char*>("new"));
    EXPECT_TRUE(edit.isDirty());
    EXPECT_EQ(textOf(edit), "new");
    edit.getText(nullptr); // nothing to write into
}

TEST(TextEditText, ConverterChangesOnlyWhatIsShown)
{
    CTextEdit lower(kBox, nullptr, 1, "bass", nullptr, 0);
    lower.setTextEditConvert(upperCase);
    CTextEdit upper(kBox, nullptr, 1, "BASS", nullptr, 0);
    CTextEdit plain(kBox, nullptr, 1, "bass", nullptr, 0);
    Canvas a(200, 80, kBlack), b(200, 80, kBlack), c(200, 80, kBlack);
    CanvasContext ca(a), cb(b), cc(c);
    lower.draw(ca.get());
    upper.draw(cb.get());
    plain.draw(cc.get());
    EXPECT_TRUE(samePixels(a, b));
    EXPECT_FALSE(samePixels(a, c));
    EXPECT_EQ(textOf(lower), "bass");
}

class TextEditKeys : public ::testing::Test {
protected:
    CTextEdit* addEdit(const char* text, CControlListener* listener)
    {
        CTextEdit* edit = harness.add(new CTextEdit(kBox, listener, 4, text, nullptr, 0));
        harness.show();
        return edit;
    }
    BTextView* open(CTextEdit* edit)
    {
        harness.click(60, 38);
        EXPECT_TRUE(edit->isEditing());
        return edit->getTextView();
    }
    ControlHarness harness;
};

TEST_F(TextEditKeys, ClickOpensWithEverythingSelectedAndTypingReplacesIt)
{
    CTextEdit* edit = addEdit("Wobrix", harness.editor);
    edit->setFont(9);
    BTextView* view = open(edit);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(edit->getFont(), 0u); // an id past the table is reset when the edit opens
    EXPECT_STREQ(view->Text(), "Wobrix");
    int32_t from = -1, to = -1;
    view->GetSelection(&from, &to);
    EXPECT_EQ(from, 0);
    EXPECT_EQ(to, 6);
    EXPECT_TRUE(view->IsFocus());
    EXPECT_EQ(view->MaxBytes(), 255);
    // Over the control, with the text inset by one pixel.
    EXPECT_EQ(view->Frame().left, kBox.left);
    EXPECT_EQ(view->Frame().top, kBox.top);
    EXPECT_EQ(view->TextRect().left, 1.0f);

    ASSERT_TRUE(harness.type("Bass"));
    EXPECT_STREQ(view->Text(), "Bass");
    ASSERT_TRUE(harness.key("\t"));
    EXPECT_FALSE(edit->isEditing());
    EXPECT_EQ(textOf(*edit), "Bass"); // the Tab is not in the text
    EXPECT_EQ(harness.editor->senders(), (std::vector<int32_t>{4}));
    EXPECT_EQ(harness.window.view()->ChildAt(0)->CountChildren(), 0); // the view is gone
}

TEST_F(TextEditKeys, EnterWithoutChangesTellsNobody)
{
    CTextEdit* edit = addEdit("same", harness.editor);
    open(edit);
    ASSERT_TRUE(harness.key("\n"));
    EXPECT_FALSE(edit->isEditing());
    EXPECT_TRUE(harness.editor->senders().empty());
    EXPECT_EQ(textOf(*edit), "same");

    // Typed changes undone by hand are no change either.
    open(edit);
    const char right[] = {B_RIGHT_ARROW, 0};
    const char back[] = {B_BACKSPACE, 0};
    ASSERT_TRUE(harness.key(right));
    ASSERT_TRUE(harness.type("x"));
    ASSERT_TRUE(harness.key(back));
    ASSERT_TRUE(harness.key("\n"));
    EXPECT_TRUE(harness.editor->senders().empty());
}

TEST_F(TextEditKeys, AClickElsewhereCommitsAndLongTypingStopsAt255)
{
    CTextEdit* edit = addEdit("", harness.editor);
    open(edit);
    ASSERT_TRUE(harness.type(std::string(300, 'z').c_str()));
    harness.click(300, 200); // outside: the frame ends the edit
    EXPECT_FALSE(edit->isEditing());
    EXPECT_EQ(textOf(*edit), std::string(255, 'z'));
    EXPECT_EQ(harness.editor->senders().size(), 1u);
}

TEST_F(TextEditKeys, ClicksOnTheOpenEditGoToItsView)
{
    CTextEdit* edit = addEdit("abc", harness.editor);
    BTextView* view = open(edit);
    harness.click(60, 38);
    EXPECT_EQ(edit->getTextView(), view);
    ASSERT_TRUE(harness.type("d"));
    ASSERT_TRUE(harness.key("\t"));
    EXPECT_EQ(textOf(*edit).find('d') != std::string::npos, true);
}

TEST_F(TextEditKeys, NoListenerAndDeletionMidEdit)
{
    CTextEdit* quiet = addEdit("q", nullptr);
    open(quiet);
    ASSERT_TRUE(harness.type("r"));
    ASSERT_TRUE(harness.key("\t")); // no listener to tell: nothing breaks
    EXPECT_EQ(textOf(*quiet), "r");

    open(quiet);
    BWindow* window = harness.window.window();
    window->Lock();
    harness.frame->removeView(quiet);
    delete quiet; // removes and deletes its platform view first
    EXPECT_EQ(harness.frame->getEditView(), nullptr);
    EXPECT_EQ(harness.window.view()->ChildAt(0)->CountChildren(), 0);
    EXPECT_EQ(window->CurrentFocus(), nullptr);
    window->Unlock();
    EXPECT_TRUE(harness.key("x")); // a key with no focus view goes nowhere
}
