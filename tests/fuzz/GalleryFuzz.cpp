// Random pointer, key and menu sequences played into the gallery's frame
// through a headless window, as a host plays a script. No input may crash,
// hang or draw a sanitizer report, and once the input is over every
// control's value must lie in its range.
//
// Each step is four bytes: what to do, then its arguments.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gallery/GalleryEditor.h"
#include "gallery/GalleryEffect.h"
#include "gui/CFrame.h"
#include "gui/PlugView.h"
#include "gui/controls/CMovieBitmap.h"
#include "gui/controls/COptionMenu.h"
#include "gui/controls/CTextEdit.h"
#include "host/driver/addon/RealtimeHost.h"
#include "platform/api/InterfaceDefs.h"
#include "platform/api/Window.h"
#include "platform/backends/headless/HeadlessBackend.h"
#include "platform/backends/headless/HeadlessHost.h"
#include "plugin/AudioEffect.h"

namespace {

constexpr bigtime_t kShortWait = 20000;
constexpr bigtime_t kLongWait = 2000000;

[[noreturn]] void fail(const char* what, int32_t tag, double value)
{
    std::fprintf(stderr, "gallery fuzz: %s (tag %d, value %g)\n", what, tag, value);
    std::abort();
}

// The controls' values once every button and key is up.
void checkRanges(CFrame* frame)
{
    for (long i = 0; i < frame->getViewCount(); i++) {
        auto* control = dynamic_cast<CControl*>(frame->getView(i));
        if (!control)
            continue;
        const int32_t tag = control->getTag();
        const float v = control->getValue();
        if (std::isnan(v))
            fail("value is not a number", tag, v);
        if (auto* menu = dynamic_cast<COptionMenu*>(control)) {
            if (v < 0 || v > static_cast<float>(menu->getNbEntries() - 1))
                fail("menu value outside its entries", tag, v);
        } else if (auto* animation = dynamic_cast<CAutoAnimation*>(control)) {
            if (v < 0 || v >= static_cast<float>(animation->getTotalHeight()))
                fail("animation row outside its strip", tag, v);
        } else if (tag == kTagRocker) {
            if (v != 0.0f)
                fail("rocker not back at rest", tag, v);
        } else if (v < control->getMin() || v > control->getMax()) {
            fail("value outside its range", tag, v);
        }
        if (auto* edit = dynamic_cast<CTextEdit*>(control)) {
            char text[256];
            edit->getText(text);
            if (std::strlen(text) > 255 || edit->isEditing())
                fail("text edit left open or too long", tag, 0);
        }
    }
}

const char* const kKeys[] = {"\x08", "\x09", "\x0a", "\x1b", "\x1c", "\x1d",     "\x1e",
                             "\x1f", "\x01", "\x04", "\x7f", " ",    "\xc3\xa9", "-"};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The gallery prints every notification; the fuzzer's reports go to stderr.
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AEffect* effect = createGallery(RealtimeHost::callback, true, adoptHeadlessHandle);
    if (!effect)
        return 0;
    ERect* rect = nullptr;
    effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0);
    const int32_t width = rect ? rect->right - rect->left : 1;
    const int32_t height = rect ? rect->bottom - rect->top : 1;
    auto* host = new HeadlessHost(width, height, 40, 30);
    if (effect->dispatcher(effect, effEditOpen, 0, 0, host->record(), 0) == 0)
        fail("the editor did not open", 0, 0);
    host->redraw(kLongWait);

    uint32_t pending = 0; // a press whose MouseDown may still run
    uint32_t held = 0, keys = 0;
    int32_t x = 0, y = 0;
    for (size_t at = 0; at + 4 <= size && at < 4 * 64; at += 4) {
        const uint8_t op = data[at] % 8, a = data[at + 1], b = data[at + 2], c = data[at + 3];
        if (pending && host->waitPress(pending, 0))
            pending = 0;
        const bool menuOpen = host->menusOpened() != host->menusClosed();
        switch (op) {
        case 0: // press
            if (pending)
                break;
            x = a * width / 256;
            y = b * height / 256;
            held = (c & 3) ? (c & 3) : 1;
            keys = (c >> 2) & 7;
            pending = host->postPress(x, y, held, keys);
            host->waitPress(pending, kShortWait);
            break;
        case 1: // move, with what is held
            x = a * (width + 40) / 256 - 20;
            y = b * (height + 40) / 256 - 20;
            host->setPointer(x, y, held, keys);
            host->waitPointerSeen(kShortWait);
            break;
        case 2: // release
            held = 0;
            keys = 0;
            host->setPointer(x, y, 0, 0);
            if (pending && host->waitPress(pending, kShortWait))
                pending = 0;
            break;
        case 3: // one key
            if (!pending) {
                const char* key = kKeys[a % (sizeof kKeys / sizeof kKeys[0])];
                char typed[2] = {static_cast<char>(' ' + b % 95), 0};
                if (c & 1)
                    key = typed;
                host->waitKey(host->postKey(key, static_cast<int32_t>(std::strlen(key)), c >> 5),
                              kShortWait);
            }
            break;
        case 4: // a menu's answer, or none
            host->answerMenu(static_cast<int32_t>(a % 9) - 1);
            if (menuOpen)
                host->waitMenuClosed(host->menusOpened(), kShortWait);
            break;
        case 5: effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0); break;
        case 6:
            if (!pending)
                host->redraw(kShortWait);
            break;
        default: // the pointer's keys change while the button stays
            keys = a & 7;
            host->setPointer(x, y, held, keys);
            host->waitPointerSeen(kShortWait);
            break;
        }
    }
    host->endInput();
    if (pending && !host->waitPress(pending, kLongWait))
        fail("a press never returned after the input ended", 0, 0);

    auto* editor =
        static_cast<AEffGUIEditor*>(static_cast<AudioEffect*>(effect->object)->getEditor());
    CFrame* frame = editor->getFrame();
    BWindow* window = frame->getPlugView()->Window();
    window->Lock();
    // A click outside ends an open edit, as the frame does for any press.
    if (CView* edit = frame->getEditView())
        edit->looseFocus();
    frame->setEditView(nullptr);
    checkRanges(frame);
    window->Unlock();

    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0);
    delete host;
    return 0;
}
