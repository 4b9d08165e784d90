// WindowSession: the script's input as X input, the wait for the picture to
// settle, and the server's pixels as PNG.
#include "WindowSession.h"

#include <cstdint>
#include <cstdio>

#include "host/driver/HostError.h"
#include "host/driver/addon/Plugin.h"
#include "host/driver/files/OutputFile.h"
#include "platform/api/InterfaceDefs.h"
#include "platform/backends/x11/X11InputDriver.h"

namespace {
constexpr bigtime_t kPollSlice = 10000; // between two looks at the window
// The plug-in reads X input on its own connection and thread, so nothing
// says when it has acted on a step: a picture that stays the same this long
// is taken as its answer.
constexpr bigtime_t kQuiet = 150000;
// An editor that keeps moving by itself never settles; the step goes on.
constexpr bigtime_t kLongestSettle = 1000000;
} // namespace

WindowSession::WindowSession(Plugin& p, EditorSize size, const std::string& title,
                             Watchdog::Policy policy)
    : EditorDriver(p, policy), shown(p, dog, size, {title, "", ""})
{
    isOpen = true;
}

WindowSession::~WindowSession()
{
    close();
}

X11InputDriver& WindowSession::driver()
{
    if (!input_) {
        std::string whyNot;
        input_ = X11InputDriver::open(shown.window().id(), &whyNot);
        if (!input_)
            throw HostError(whyNot);
    }
    return *input_;
}

void WindowSession::fail(const std::string& message)
{
    heldButtons = heldKeys = 0;
    if (input_)
        input_->setPointer(pointerX, pointerY, 0, 0);
    throw HostError(where() + ": " + message);
}

void WindowSession::settle(uint32_t popup)
{
    if (!driver().sync())
        fail("the connection to X display " + shown.window().displayName() + " failed");
    std::vector<uint8_t> last, now;
    int32_t width = 0, height = 0;
    auto copy = [&](std::vector<uint8_t>* into) {
        return popup != 0 ? driver().copyPixelsOf(popup, into, &width, &height)
                          : driver().copyPixels(into, &width, &height);
    };
    copy(&last);
    const bigtime_t start = system_time();
    bigtime_t stillSince = start;
    for (;;) {
        snooze(kPollSlice);
        const bool read = copy(&now);
        const bigtime_t at = system_time();
        if (!read || now != last) {
            last.swap(now);
            stillSince = at;
        } else if (at - stillSince >= kQuiet) {
            return;
        }
        if (at - start >= kLongestSettle)
            return;
    }
}

void WindowSession::input(int32_t x, int32_t y, uint32_t buttons, uint32_t keys)
{
    pointerX = x;
    pointerY = y;
    heldButtons = buttons;
    heldKeys = keys;
    if (!driver().setPointer(x, y, buttons, keys))
        fail("the connection to X display " + shown.window().displayName() + " failed");
}

void WindowSession::screenInput(int32_t x, int32_t y, uint32_t buttons)
{
    heldButtons = buttons;
    if (!driver().setScreenPointer(x, y, buttons, heldKeys))
        fail("the connection to X display " + shown.window().displayName() + " failed");
}

void WindowSession::move(int32_t x, int32_t y)
{
    input(x, y, heldButtons, heldKeys);
    if (heldButtons != 0)
        settle();
    else if (!driver().sync())
        fail("the connection to X display " + shown.window().displayName() + " failed");
}

void WindowSession::press(int32_t x, int32_t y, uint32_t buttons, uint32_t keys)
{
    if (heldButtons != 0)
        throw HostError(where() + ": a press is still held; release it first");
    // The pointer gets there first, so the press lands where it is meant to.
    input(x, y, 0, heldKeys);
    input(x, y, buttons, keys);
    settle();
    X11InputDriver::Popup popup;
    if (!answerPlace.empty() && driver().topPopup(&popup))
        answerMenu();
}

void WindowSession::release()
{
    input(pointerX, pointerY, 0, 0);
    settle();
}

void WindowSession::key(const std::string& bytes, uint32_t keys)
{
    std::string whyNot;
    if (!driver().key(bytes.data(), static_cast<int32_t>(bytes.size()), keys, &whyNot))
        fail(whyNot);
    settle();
}

void WindowSession::menu(int32_t choice)
{
    pendingChoice = choice;
    answerPlace = where();
    X11InputDriver::Popup popup;
    if (heldButtons != 0 || driver().topPopup(&popup))
        answerMenu();
}

void WindowSession::answerMenu()
{
    const std::string at = place;
    place = answerPlace;
    answerPlace.clear();
    X11InputDriver::Popup popup;
    const bigtime_t end = system_time() + dog.timeout();
    while (!driver().topPopup(&popup)) {
        if (system_time() >= end)
            fail("no pop-up menu opened within " + std::to_string(dog.timeout() / 1000) + " ms");
        snooze(kPollSlice);
    }
    // The pointer at the top edge lights the first row: its height is every
    // row's.
    screenInput(popup.x + 1, popup.y + 1, heldButtons);
    settle(popup.id);
    std::vector<uint8_t> pixels;
    int32_t width = 0, height = 0, row = 0;
    if (!driver().copyPixelsOf(popup.id, &pixels, &width, &height) || width < 2)
        fail("the pop-up menu's pixels could not be read");
    auto edge = [&](int32_t y) {
        const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width) + 1) * 4;
        return pixels[at] | pixels[at + 1] << 8 | pixels[at + 2] << 16;
    };
    while (row < height && edge(row) == edge(0))
        ++row;
    if (pendingChoice >= 0 && pendingChoice < height / row) {
        screenInput(popup.x + popup.width / 2, popup.y + pendingChoice * row + row / 2,
                    heldButtons);
        settle(popup.id);
        // The button that opened the menu comes up on the item; else a click.
        if (heldButtons == 0)
            screenInput(popup.x + popup.width / 2, popup.y + pendingChoice * row + row / 2,
                        B_PRIMARY_MOUSE_BUTTON);
        screenInput(popup.x + popup.width / 2, popup.y + pendingChoice * row + row / 2, 0);
    } else {
        int32_t x = 0, y = 0;
        if (!driver().pointOutside(popup, &x, &y))
            fail("the pop-up menu and the window cover the screen; no place to dismiss it");
        screenInput(x, y, 0);
        screenInput(x, y, B_PRIMARY_MOUSE_BUTTON);
        screenInput(x, y, 0);
    }
    X11InputDriver::Popup still;
    while (driver().topPopup(&still) && still.id == popup.id) {
        if (system_time() >= end)
            fail("the pop-up menu did not close within " + std::to_string(dog.timeout() / 1000) +
                 " ms");
        snooze(kPollSlice);
    }
    settle();
    place = at;
}

void WindowSession::checkMenuAnswered()
{
    if (answerPlace.empty())
        return;
    place = answerPlace;
    answerPlace.clear();
    fail("no pop-up menu took the answer");
}

void WindowSession::refresh()
{
    shown.idle();
    settle();
}

void WindowSession::writePng(const std::string& path)
{
    refresh();
    writeThroughTemporary(path, [this](const std::string& temporary) -> std::string {
        return driver().savePng(temporary.c_str()) == B_OK
                   ? ""
                   : "the window's pixels could not be read from X display " +
                         shown.window().displayName() + " or encoded";
    });
}

void WindowSession::endInput()
{
    if (heldButtons == 0 && heldKeys == 0)
        return;
    input(pointerX, pointerY, 0, 0);
    settle();
}

void WindowSession::close()
{
    if (!isOpen)
        return;
    isOpen = false;
    endInput();
    shown.close();
}
