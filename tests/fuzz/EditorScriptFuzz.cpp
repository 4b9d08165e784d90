// A user's editor script of any bytes. The parser either refuses it with one
// FILE:LINE message naming a line of the text, or returns steps that keep
// every promise the players rely on: numbers in their ranges, a button for
// every press, printable texts, no press while another is held. The window
// check then passes exactly when every press lands inside the window.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/driver/editor/EditorScript.h"
#include "host/driver/editor/ScriptError.h"
#include "platform/api/InterfaceDefs.h"

namespace {

const std::string kFile = "fuzz.txt";
constexpr uint32_t kButtons =
    B_PRIMARY_MOUSE_BUTTON | B_SECONDARY_MOUSE_BUTTON | B_TERTIARY_MOUSE_BUTTON;
constexpr uint32_t kKeys = B_SHIFT_KEY | B_COMMAND_KEY | B_CONTROL_KEY | B_OPTION_KEY;

[[noreturn]] void fail(const char* what, int line)
{
    std::fprintf(stderr, "script fuzz: %s (line %d)\n", what, line);
    std::abort();
}

int lineCount(const std::string& text)
{
    int lines = 0;
    for (const char c : text)
        lines += c == '\n';
    return lines + (text.empty() || text.back() == '\n' ? 0 : 1);
}

bool coordinate(int32_t v)
{
    return v >= -32768 && v <= 32767;
}

// Printable UTF-8 (no control bytes, no broken sequences), not empty.
bool printable(const std::string& text)
{
    if (text.empty())
        return false;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead >= 0x20 && lead < 0x7F    ? 1
                              : lead >= 0xC2 && lead <= 0xDF ? 2
                              : lead >= 0xE0 && lead <= 0xEF ? 3
                              : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                             : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

void checkStep(const ScriptStep& s)
{
    switch (s.kind) {
    case StepKind::Drag:
        if (!coordinate(s.toX) || !coordinate(s.toY) || s.moves < 1 || s.moves > 1000)
            fail("drag out of range", s.line);
        [[fallthrough]];
    case StepKind::Press:
        if (!coordinate(s.x) || !coordinate(s.y) || s.buttons == 0 || (s.buttons & ~kButtons) ||
            (s.keys & ~kKeys))
            fail("press out of range", s.line);
        break;
    case StepKind::Move:
        if (!coordinate(s.x) || !coordinate(s.y))
            fail("move out of range", s.line);
        break;
    case StepKind::Wait:
        if (s.milliseconds < 0 || s.milliseconds > 60000)
            fail("wait out of range", s.line);
        break;
    case StepKind::Png:
        if (s.path.empty())
            fail("png without a file", s.line);
        break;
    case StepKind::Key:
        // A named key is one control byte; otherwise one printable character.
        if ((s.text.size() != 1 && !printable(s.text)) || (s.keys & ~kKeys))
            fail("key neither named nor printable", s.line);
        break;
    case StepKind::Type:
        if (!printable(s.text))
            fail("type text not printable", s.line);
        break;
    case StepKind::Menu:
        if (s.choice < -1 || s.choice > 1023)
            fail("menu choice out of range", s.line);
        break;
    case StepKind::Release:
    case StepKind::Idle: break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes are the window's size for the press check.
    const int32_t width = data[0] + 1, height = data[1] + 1;
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
    const int lines = lineCount(text);
    EditorScript script;
    try {
        script = parseEditorScript(text, kFile);
    } catch (const ScriptError& e) {
        const std::string message = e.what();
        const std::string head = kFile + ":";
        const int line = std::atoi(message.c_str() + head.size());
        if (message.compare(0, head.size(), head) != 0 || line < 1 || line > lines ||
            message.find('\n') != std::string::npos)
            fail("a refusal that names no line of the text", line);
        return 0;
    }
    int previous = 0;
    int held = 0;
    bool outside = false;
    for (const ScriptStep& s : script.steps) {
        if (s.line <= previous || s.line > lines)
            fail("steps out of line order", s.line);
        previous = s.line;
        checkStep(s);
        if ((s.kind == StepKind::Press || s.kind == StepKind::Drag) && held)
            fail("a press while another is held", s.line);
        held = s.kind == StepKind::Press ? s.line : s.kind == StepKind::Release ? 0 : held;
        if ((s.kind == StepKind::Press || s.kind == StepKind::Drag) &&
            (s.x < 0 || s.y < 0 || s.x >= width || s.y >= height))
            outside = true;
    }
    try {
        checkScriptFitsWindow(script, width, height);
        if (outside)
            fail("a press outside the window passed", 0);
    } catch (const ScriptError&) {
        if (!outside)
            fail("a press inside the window refused", 0);
    }
    return 0;
}
