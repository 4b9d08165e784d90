// EditorSession: opening and closing the editor, the pointer and the presses,
// keys and menus, the pictures, and what happens when the add-on stops answering.
#include "EditorSession.h"

#include <algorithm>
#include <cstdio>

#include "host/driver/HostError.h"
#include "host/driver/addon/Plugin.h"
#include "host/driver/files/OutputFile.h"
#include "platform/backends/headless/HeadlessBackend.h"
#include "platform/backends/headless/HeadlessHost.h"

namespace {
constexpr int32_t kLargestSide = 16384; // the headless record's limit
constexpr bigtime_t kPollSlice = 10000; // a lost wake-up costs at most this
constexpr int kSettlingReads = 7;
} // namespace

std::optional<EditorSize> askEditorSize(Plugin& plugin, std::string* whyNot)
{
    if ((plugin.effect().flags & kFlagHasEditor) == 0) {
        *whyNot = "the effect declares no editor (flag 0x1 is clear)";
        return std::nullopt;
    }
    ERect* rect = nullptr; // points into the editor, valid for its life
    const VstIntPtr answer = plugin.dispatch(effEditGetRect, 0, 0, &rect);
    if (answer == 0 || rect == nullptr) {
        *whyNot = answer == 0 ? "the editor gives no size (opcode 13 answered 0)"
                              : "the editor gives no size (opcode 13 left the rectangle null)";
        return std::nullopt;
    }
    const EditorSize size{rect->right - rect->left, rect->bottom - rect->top};
    // The toolkit's editors take their size from their background picture,
    // so without it they answer an all-zero rectangle.
    if (rect->top == 0 && rect->left == 0 && rect->bottom == 0 && rect->right == 0) {
        if (std::string missing = plugin.missingPictures(); !missing.empty()) {
            *whyNot = std::move(missing);
            return std::nullopt;
        }
    }
    if (size.width < 1 || size.height < 1 || size.width > kLargestSide ||
        size.height > kLargestSide)
        throw HostError(plugin.path() + ": the editor's rectangle (top " +
                        std::to_string(rect->top) + ", left " + std::to_string(rect->left) +
                        ", bottom " + std::to_string(rect->bottom) + ", right " +
                        std::to_string(rect->right) + ") is not 1 to 16384 pixels a side");
    return size;
}

bool takesHeadlessWindows(const Plugin& plugin, std::string* whyNot)
{
    const std::string& entry = plugin.entryName();
    if (entry.empty() || entry == "main_plugin")
        return true;
    *whyNot = "its editor takes X11 windows (entry " + entry +
              "): open it with wobrix-host editor --window";
    return false;
}

WindowAdopter EditorSession::windowAdopter()
{
    return adoptHeadlessHandle;
}

EditorSession::EditorSession(Plugin& p, EditorSize size, Watchdog::Policy policy)
    : EditorDriver(p, policy), host(std::make_unique<HeadlessHost>(size.width, size.height)),
      idler([this] { dispatchWatched(effEditIdle, "opcode 19 (editor idle)"); }, kIdlePeriod)
{
    const VstIntPtr opened =
        dispatchWatched(effEditOpen, "opcode 14 (open the editor)", host->record());
    if (opened == 0 || !host->attached()) {
        // Whatever it answered, the window must be gone before the buffer is.
        if (opened != 0 || host->attached()) {
            dispatchWatched(effEditClose, "opcode 15 (close the editor)");
            waitDetached();
        }
        throw HostError(plugin.path() +
                        (opened == 0 ? ": the editor refused to open (opcode 14 answered 0)"
                                     : ": the editor opened without adopting the headless window"));
    }
    isOpen = true;
    idler.start();
}

EditorSession::~EditorSession()
{
    close();
}

std::string EditorSession::withinTimeout() const
{
    char text[48];
    std::snprintf(text, sizeof text, " within %g s", static_cast<double>(dog.timeout()) / 1e6);
    return text;
}

bool EditorSession::pressReturned()
{
    if (pendingPress != 0 && host->waitPress(pendingPress, 0))
        pendingPress = 0;
    return pendingPress == 0;
}

// Any answer will do: a press that starts a tracking loop returns from
// MouseDown only after the release, but the loop reads the pointer; one that
// opens a pop-up menu returns only after the menu is answered.
void EditorSession::waitTaken(const char* what)
{
    const bigtime_t end = system_time() + dog.timeout();
    for (;;) {
        if (pressReturned() || host->waitPointerSeen(0) || host->menusOpened() != menusSeen)
            return;
        const bigtime_t now = system_time();
        if (now >= end)
            fail(std::string("the editor's window did not ") + what + withinTimeout());
        host->waitAnything(std::min(end - now, kPollSlice));
    }
}

// Each post of the same state is read by a later read than the one before,
// so kSettlingReads posts mean as many reads, in order. A loop that reads the
// pointer up to three times a pass and acts on a position in the pass after
// reading it (the toolkit's sliders) has then read it, acted on it and drawn.
void EditorSession::waitProcessed(const char* what)
{
    for (int read = 0; read < kSettlingReads; ++read) {
        if (read > 0)
            host->setPointer(pointerX, pointerY, heldButtons, heldKeys);
        waitTaken(what);
        if (pressReturned() || host->menusOpened() != menusSeen)
            return;
    }
}

void EditorSession::fail(const std::string& message)
{
    const std::string full = where() + ": " + message;
    host->endInput();
    heldButtons = heldKeys = 0;
    if (pendingPress != 0 && !host->waitPress(pendingPress, dog.timeout()))
        Watchdog::abandon(full + "; MouseDown did not return after the input ended either");
    pendingPress = 0;
    throw HostError(full);
}

void EditorSession::move(int32_t x, int32_t y)
{
    pointerX = x;
    pointerY = y;
    host->setPointer(x, y, heldButtons, heldKeys);
    if (!pressReturned())
        waitProcessed("read the pointer");
}

void EditorSession::press(int32_t x, int32_t y, uint32_t buttons, uint32_t keys)
{
    if (!pressReturned())
        throw HostError(where() + ": a press is still held; release it first");
    // Counted before the press, which may open its menu at once.
    menusSeen = host->menusOpened();
    const uint32_t serial = host->postPress(x, y, buttons, keys);
    if (serial == 0)
        fail("the editor's window has not finished an earlier press");
    pointerX = x;
    pointerY = y;
    heldButtons = buttons;
    heldKeys = keys;
    pendingPress = serial;
    waitProcessed("take the press");
    if (!answerPlace.empty() && host->menusOpened() != menusSeen)
        waitAnswerTaken();
}

void EditorSession::release()
{
    heldButtons = heldKeys = 0;
    host->setPointer(pointerX, pointerY, 0, 0);
    if (pendingPress != 0 && !host->waitPress(pendingPress, dog.timeout()))
        fail("MouseDown did not return" + withinTimeout() + " of the release");
    pendingPress = 0;
}

void EditorSession::key(const std::string& bytes, uint32_t keys)
{
    const uint32_t serial = host->postKey(bytes.data(), static_cast<int32_t>(bytes.size()), keys);
    if (serial == 0)
        fail("the editor's window has not taken an earlier key");
    if (!host->waitKey(serial, dog.timeout()))
        fail(std::string("the editor's window did not take the key") +
             (pressReturned() ? "" : " (MouseDown has not returned)") + withinTimeout());
}

void EditorSession::menu(int32_t choice)
{
    // A press still in MouseDown is taken to be opening the menu. Asked
    // before the answer goes out: once it has, the menu may take it, close
    // and let the press return before we look.
    const bool awaited = host->menusOpened() != host->menusClosed() || !pressReturned();
    host->answerMenu(choice);
    answerPlace = where();
    if (awaited)
        waitAnswerTaken();
}

// The menu that takes the answer is open now or opens soon; after it closed,
// the press that opened it goes on (and may return).
void EditorSession::waitAnswerTaken()
{
    if (!host->waitMenuAnswerTaken(dog.timeout()))
        fail(std::string("the pop-up menu did not take the answer") + withinTimeout());
    answerPlace.clear();
    if (!host->waitMenuClosed(host->menusOpened(), dog.timeout()))
        fail(std::string("the pop-up menu did not close") + withinTimeout());
    menusSeen = host->menusOpened();
    if (!pressReturned())
        waitProcessed("return from the menu");
}

void EditorSession::checkMenuAnswered()
{
    if (answerPlace.empty() || host->menuAnswerTaken())
        return;
    place = answerPlace;
    answerPlace.clear();
    fail("no pop-up menu took the answer");
}

void EditorSession::refresh()
{
    if (pressReturned() && !host->redraw(dog.timeout()))
        Watchdog::abandon(where() + ": the editor's window did not redraw" + withinTimeout());
    idler.now();
}

void EditorSession::writePng(const std::string& path)
{
    refresh();
    writeThroughTemporary(path, [this](const std::string& temporary) -> std::string {
        return host->savePng(temporary.c_str()) == B_OK
                   ? ""
                   : "the add-on kept drawing, or the PNG could not be encoded";
    });
}

void EditorSession::endInput()
{
    host->endInput();
    heldButtons = heldKeys = 0;
    if (pendingPress != 0 && !host->waitPress(pendingPress, dog.timeout()))
        Watchdog::abandon(where() + ": MouseDown did not return" + withinTimeout() +
                          " of the end of input");
    pendingPress = 0;
}

void EditorSession::waitDetached()
{
    const bigtime_t end = system_time() + dog.timeout();
    while (host->attached()) {
        const bigtime_t now = system_time();
        if (now >= end)
            Watchdog::abandon(plugin.path() + ": the editor still used its window" +
                              withinTimeout() + " of opcode 15");
        host->waitAnything(std::min(end - now, kPollSlice));
    }
}

void EditorSession::close()
{
    if (!isOpen)
        return;
    isOpen = false;
    endInput();
    idler.stop();
    dispatchWatched(effEditClose, "opcode 15 (close the editor)");
    waitDetached();
}
