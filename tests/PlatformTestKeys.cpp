// Keys: the window's focus (who is told when it moves or its view leaves),
// keys from the host reaching the focus view only, a key hook that deletes
// its own view, and the single-line text view's editing, limits, drawing and
// growth.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/api/InterfaceDefs.h"
#include "platform/api/Message.h"
#include "platform/api/TextView.h"
#include "platform/api/View.h"
#include "platform/api/Window.h"
#include "platform/backends/headless/MemoryWindow.h"

namespace {

constexpr bigtime_t kPatience = 5000000;

// Logs "name+" / "name-" for MakeFocus (with whether it was still attached)
// and "name:bytes/modifiers" for keys.
class KeyLogger : public BView {
public:
    KeyLogger(BRect frame, std::string name, std::vector<std::string>* log)
        : BView(frame, name.c_str(), B_FOLLOW_NONE, 0), name_(std::move(name)), log_(log)
    {
    }
    void MakeFocus(bool focus = true) override
    {
        BView::MakeFocus(focus);
        log_->push_back(name_ + (focus ? "+" : "-") + (Window() != nullptr ? "" : " detached"));
    }
    void KeyDown(const char* bytes, int32_t numBytes) override
    {
        const BMessage* m = Window()->CurrentMessage();
        int32_t keys = -1;
        if (m != nullptr && m->what == B_KEY_DOWN)
            m->FindInt32("modifiers", &keys);
        log_->push_back(name_ + ":" + std::string(bytes, static_cast<size_t>(numBytes)) + "/" +
                        std::to_string(keys));
        if (deleteOnKey) {
            RemoveSelf();
            delete this;
        }
    }
    bool deleteOnKey = false;

private:
    std::string name_;
    std::vector<std::string>* log_;
};

void sendKey(HeadlessHost& host, const std::string& bytes, uint32_t keys = 0)
{
    const uint32_t serial = host.postKey(bytes.data(), static_cast<int32_t>(bytes.size()), keys);
    ASSERT_NE(serial, 0u);
    ASSERT_TRUE(host.waitKey(serial, kPatience));
}

// A locked window for the duration of a scope.
struct Locked {
    explicit Locked(BWindow* w) : window(w) { window->Lock(); }
    ~Locked() { window->Unlock(); }
    BWindow* window;
};

} // namespace

TEST(PlatformKeys, FocusMovesAndLeavesWithItsView)
{
    MemoryWindow mw(60, 40);
    std::vector<std::string> log;
    auto* a = new KeyLogger(BRect(0, 0, 9, 9), "a", &log);
    auto* b = new KeyLogger(BRect(10, 0, 19, 9), "b", &log);
    auto* box = new BView(BRect(20, 0, 39, 19), "box", B_FOLLOW_NONE, 0);
    auto* c = new KeyLogger(BRect(0, 0, 9, 9), "c", &log);
    {
        Locked hold(mw.window());
        mw.view()->AddChild(a);
        mw.view()->AddChild(b);
        box->AddChild(c);
        mw.view()->AddChild(box);
        EXPECT_EQ(mw.window()->CurrentFocus(), nullptr);
        a->MakeFocus();
        b->MakeFocus();
        EXPECT_TRUE(b->IsFocus());
        EXPECT_FALSE(a->IsFocus());
        EXPECT_EQ(mw.window()->CurrentFocus(), b);
        a->MakeFocus(false); // not the focus: nothing changes
        EXPECT_EQ(mw.window()->CurrentFocus(), b);
    }
    sendKey(mw.host(), "x", B_SHIFT_KEY);
    sendKey(mw.host(), "\xE2\x82\xAC");
    {
        Locked hold(mw.window());
        EXPECT_EQ(log,
                  (std::vector<std::string>{"a+", "a-", "b+", "a-", "b:x/1", "b:\xE2\x82\xAC/0"}));
        log.clear();
        b->RemoveSelf();
        EXPECT_EQ(mw.window()->CurrentFocus(), nullptr);
        EXPECT_FALSE(b->IsFocus());
        delete b;
        // Removing a view above the focus view tells the focus view too.
        c->MakeFocus();
        mw.view()->RemoveChild(box);
        EXPECT_EQ(mw.window()->CurrentFocus(), nullptr);
        delete box;
        EXPECT_EQ(log, (std::vector<std::string>{"b-", "c+", "c-"}));
        log.clear();
    }
    sendKey(mw.host(), "y"); // no focus view: dropped, and still answered
    {
        Locked hold(mw.window());
        EXPECT_TRUE(log.empty());
        // Deleted while attached and focused: the window forgets it quietly.
        a->MakeFocus();
        delete a;
        EXPECT_EQ(mw.window()->CurrentFocus(), nullptr);
    }
    sendKey(mw.host(), "z");
    EXPECT_EQ(log, (std::vector<std::string>{"a+"}));
}

TEST(PlatformKeys, AKeyHookMayDeleteItsView)
{
    MemoryWindow mw(20, 20);
    std::vector<std::string> log;
    auto* v = new KeyLogger(BRect(0, 0, 9, 9), "v", &log);
    v->deleteOnKey = true;
    {
        Locked hold(mw.window());
        mw.view()->AddChild(v);
        v->MakeFocus();
    }
    sendKey(mw.host(), "q");
    sendKey(mw.host(), "r");
    ASSERT_TRUE(mw.host().redraw(kPatience));
    Locked hold(mw.window());
    EXPECT_EQ(mw.window()->CurrentFocus(), nullptr);
    EXPECT_EQ(mw.view()->CountChildren(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"v+", "v:q/0", "v-"}));
}

namespace {

// A text view focused in a window, edited through the host's keys.
struct TextFixture {
    TextFixture()
        : view(new BTextView(BRect(10, 5, 109, 24), "text", BRect(1, 1, 98, 18), 0, B_WILL_DRAW))
    {
        Locked hold(mw.window());
        mw.view()->AddChild(view);
        view->MakeFocus();
    }
    std::string text()
    {
        Locked hold(mw.window());
        return view->Text();
    }
    std::pair<int32_t, int32_t> selection()
    {
        Locked hold(mw.window());
        int32_t s = -1, f = -1;
        view->GetSelection(&s, &f);
        return {s, f};
    }
    // The first and last columns in the window with a dark pixel, or -1.
    std::pair<int32_t, int32_t> inkColumns()
    {
        Locked hold(mw.window());
        int32_t first = -1, last = -1;
        for (int32_t x = 0; x < 120; ++x) {
            for (int32_t y = 0; y < 30; ++y) {
                if (mw.pixelAt(x, y).red < 128) {
                    if (first < 0)
                        first = x;
                    last = x;
                    break;
                }
            }
        }
        return {first, last};
    }

    MemoryWindow mw{120, 30};
    BTextView* view;
};

const std::string kE = "\xC3\xA9";        // é, 2 bytes
const std::string kEuro = "\xE2\x82\xAC"; // €, 3 bytes
const std::string key(char code)
{
    return std::string(1, code);
}

} // namespace

TEST(PlatformTextView, KeysEditByCharacters)
{
    struct Case {
        const char* what;
        std::string start;
        int32_t selStart, selEnd;
        std::vector<std::string> keys;
        std::string text;
        int32_t caret;
    };
    const Case cases[] = {
        {"typing replaces a whole selection", "hello", 0, 1000, {"a", kE}, "a" + kE, 3},
        {"backspace takes whole characters",
         "a" + kE + kEuro,
         6,
         6,
         {key(B_BACKSPACE), key(B_BACKSPACE)},
         "a",
         1},
        {"delete takes the character after",
         "a" + kE + kEuro,
         0,
         0,
         {key(B_DELETE), key(B_DELETE)},
         kEuro,
         0},
        {"backspace removes a selection only", "abcd", 1, 3, {key(B_BACKSPACE)}, "ad", 1},
        {"at the edges nothing goes",
         "ab",
         0,
         0,
         {key(B_BACKSPACE), key(B_END), key(B_DELETE)},
         "ab",
         2},
        {"arrows step over characters",
         kE + kEuro + "x",
         6,
         6,
         {key(B_LEFT_ARROW), key(B_LEFT_ARROW), "y"},
         kE + "y" + kEuro + "x",
         3},
        {"left collapses to the start", "abcd", 1, 3, {key(B_LEFT_ARROW), "-"}, "a-bcd", 2},
        {"right collapses to the end", "abcd", 1, 3, {key(B_RIGHT_ARROW), "-"}, "abc-d", 4},
        {"home and up go to the start",
         "ab",
         2,
         2,
         {key(B_HOME), "1", key(B_END), key(B_UP_ARROW), "2"},
         "21ab",
         1},
        {"end and down go to the end",
         "ab",
         0,
         0,
         {key(B_END), "1", key(B_HOME), key(B_DOWN_ARROW), "2"},
         "ab12",
         4},
        {"control keys and tab and enter are refused",
         "ab",
         1,
         1,
         {key(B_TAB), key(B_ENTER), key(B_ESCAPE), key(2)},
         "ab",
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TextFixture f;
        {
            Locked hold(f.mw.window());
            f.view->SetText(c.start.c_str());
            f.view->Select(c.selStart, c.selEnd);
        }
        for (const std::string& k : c.keys)
            sendKey(f.mw.host(), k);
        EXPECT_EQ(f.text(), c.text);
        EXPECT_EQ(f.selection(), std::make_pair(c.caret, c.caret));
    }
}

TEST(PlatformTextView, SelectionSnapsAndLimitsHold)
{
    TextFixture f;
    Locked hold(f.mw.window());
    BTextView* v = f.view;
    v->SetText((kE + kEuro).c_str());
    EXPECT_EQ(v->TextLength(), 5);
    v->Select(4, 1); // inside € and inside é
    int32_t s = -1, e = -1;
    v->GetSelection(&s, &e);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(e, 2);
    v->Select(-3, 99);
    v->GetSelection(&s, &e);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(e, 5);

    v->SetMaxBytes(255);
    v->SetText("");
    v->Insert(std::string(300, 'a').c_str());
    EXPECT_EQ(v->TextLength(), 255);
    std::string twoByte;
    for (int i = 0; i < 150; ++i)
        twoByte += kE;
    v->SelectAll();
    v->Insert(twoByte.c_str());
    EXPECT_EQ(v->TextLength(), 254); // 127 whole characters, never half of one
    v->SetText(twoByte.c_str());
    EXPECT_EQ(v->TextLength(), 254);
    v->GetSelection(&s, &e);
    EXPECT_EQ(s, 254);
    v->Insert("z");
    EXPECT_EQ(v->TextLength(), 255);
    v->Insert("z");
    EXPECT_EQ(v->TextLength(), 255);

    v->SetMaxBytes(3);
    EXPECT_EQ(std::string(v->Text()), kE);

    v->SetMaxBytes(100);
    v->SetText("ab");
    v->DisallowChar('x');
    v->DisallowChar(0x20AC);
    v->Insert(("cx" + kEuro + "d").c_str()); // stops before the first refused character
    EXPECT_EQ(std::string(v->Text()), "abc");
    v->AllowChar('x');
    v->Insert("x");
    EXPECT_EQ(std::string(v->Text()), "abcx");
}

TEST(PlatformTextView, TypedCharactersRespectTheLimits)
{
    TextFixture f;
    {
        Locked hold(f.mw.window());
        f.view->SetMaxBytes(4);
        f.view->DisallowChar('x');
    }
    ASSERT_TRUE(f.mw.host().typeText(("axb" + kE + "c").c_str(), kPatience));
    EXPECT_EQ(f.text(), "ab" + kE);
}

TEST(PlatformTextView, DrawsAlignedWithCaretAndSelectionWhileFocused)
{
    TextFixture f;
    {
        Locked hold(f.mw.window());
        f.view->MakeFocus(false);
        f.view->SetText("iii");
    }
    // The view spans columns 10 ... 109 and the text rectangle 11 ... 108.
    auto [left, leftEnd] = f.inkColumns();
    EXPECT_GE(left, 11);
    EXPECT_LE(left, 13);
    EXPECT_LT(leftEnd, 40);
    {
        Locked hold(f.mw.window());
        f.view->SetAlignment(B_ALIGN_RIGHT);
    }
    auto [rightStart, right] = f.inkColumns();
    EXPECT_GT(rightStart, 80);
    EXPECT_GE(right, 104);
    EXPECT_LE(right, 108);
    {
        Locked hold(f.mw.window());
        f.view->SetAlignment(B_ALIGN_CENTER);
    }
    auto [centreStart, centreEnd] = f.inkColumns();
    EXPECT_NEAR((centreStart + centreEnd) / 2.0, 59.5, 3);

    // Focused with an empty selection: a caret at the end of the text.
    {
        Locked hold(f.mw.window());
        f.view->SetAlignment(B_ALIGN_LEFT);
        f.view->SetText("");
        f.view->MakeFocus();
    }
    auto [caret, caretEnd] = f.inkColumns();
    EXPECT_EQ(caret, 11);
    EXPECT_EQ(caretEnd, 11);
    {
        Locked hold(f.mw.window());
        f.view->SetText("WWW");
        f.view->SelectAll();
        const float width = f.view->StringWidth("WWW");
        // Inverted: the selection's background is dark between the letters.
        int dark = 0;
        for (int32_t x = 11; x < 11 + static_cast<int32_t>(width); ++x) {
            if (f.mw.pixelAt(x, 6).red < 128)
                ++dark;
        }
        EXPECT_GT(dark, static_cast<int>(width) / 2);
        f.view->MakeFocus(false);
        EXPECT_GT(f.mw.pixelAt(11, 6).red + f.mw.pixelAt(12, 6).red, 400); // plain again
    }
}

TEST(PlatformTextView, PressPlacesTheCaretAndTakesFocus)
{
    TextFixture f;
    float endX = 0;
    {
        Locked hold(f.mw.window());
        f.view->MakeFocus(false);
        f.view->SetText("abcdef");
        endX = f.view->StringWidth("abc");
    }
    const uint32_t press =
        f.mw.host().postPress(10 + 1 + static_cast<int32_t>(endX), 12, B_PRIMARY_MOUSE_BUTTON);
    f.mw.host().setPointer(0, 0, 0);
    ASSERT_TRUE(f.mw.host().waitPress(press, kPatience));
    EXPECT_EQ(f.selection(), std::make_pair(3, 3));
    Locked hold(f.mw.window());
    EXPECT_TRUE(f.view->IsFocus());
}

TEST(PlatformTextView, ResizableViewGrowsWithItsText)
{
    for (const alignment a : {B_ALIGN_LEFT, B_ALIGN_CENTER}) {
        SCOPED_TRACE(a);
        BTextView v(BRect(40, 5, 79, 24), "t", BRect(1, 1, 38, 18), 0, B_WILL_DRAW);
        v.SetAlignment(a);
        v.MakeResizable(true);
        EXPECT_TRUE(v.IsResizable());
        v.SetText("short");
        EXPECT_EQ(v.Frame(), BRect(40, 5, 79, 24));
        v.SetText("a text much wider than forty pixels");
        const BRect grown = v.Frame();
        EXPECT_GT(grown.Width(), 39 + 60);
        EXPECT_GE(v.TextRect().Width(), v.StringWidth(v.Text()));
        EXPECT_EQ(v.TextRect().left, 1);
        EXPECT_EQ(v.Bounds().right - v.TextRect().right, 1);
        if (a == B_ALIGN_LEFT) {
            EXPECT_EQ(grown.left, 40);
        } else {
            EXPECT_NEAR((grown.left + grown.right) / 2, 59.5, 1);
        }
        v.SetText("");
        EXPECT_EQ(v.Frame(), BRect(40, 5, 79, 24));
    }
}
