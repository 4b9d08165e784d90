// EditorScript: tokens, numbers, words and the checks across lines.
#include "EditorScript.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <utility>

#include "ScriptError.h"
#include "host/driver/HostError.h"
#include "host/driver/Numbers.h"
#include "host/driver/files/OutputFile.h"
#include "platform/api/InterfaceDefs.h"
#include "platform/api/Utf8.h"

const char* const kEditorScriptHelp =
    "Script (--script FILE): one step per line; '#' starts a comment; coordinates\n"
    "are window pixels, (0, 0) at the top left, -32768 to 32767.\n"
    "  move X Y              move the pointer; buttons and keys stay as they are;\n"
    "                        while a press is tracked, waits until the tracking\n"
    "                        loop has read the position 7 times (read, acted, drawn)\n"
    "  press X Y [WORD]...   press at (X, Y) and hold; waits until MouseDown has\n"
    "                        returned or its tracking loop has settled as after a\n"
    "                        move. WORDs: shift command control option\n"
    "                        (keys held), primary secondary tertiary (buttons;\n"
    "                        primary when none is named)\n"
    "  drag X1 Y1 X2 Y2 [N] [WORD]...\n"
    "                        press at (X1, Y1), move to (X2, Y2) in N steps\n"
    "                        (1 to 1000, default 10) 5 ms apart, release; waits\n"
    "                        until the press has ended. WORDs as for press\n"
    "  release               every button and key up; waits until the press ended\n"
    "  wait MS               sleep MS milliseconds (0 to 60000)\n"
    "  idle                  one more editor idle (opcode 19), now\n"
    "  png FILE              write the picture now to FILE (after a redraw, unless\n"
    "                        a press is tracked: then as the tracking loop drew it)\n"
    "  key NAME [WORD]...    one key to the view holding the keyboard focus; waits\n"
    "                        until it is delivered. NAME: tab enter backspace delete\n"
    "                        left right up down home end escape space, or one\n"
    "                        printable character (UTF-8). WORDs: shift command\n"
    "                        control option\n"
    "  type TEXT             the rest of the line after one space, '#' included,\n"
    "                        one key per character (printable UTF-8, not empty)\n"
    "  menu N | menu dismiss answer the pop-up menu open now, or else the next to\n"
    "                        open, with its Nth item from the top (0-based,\n"
    "                        separator lines not counted; past the last dismisses);\n"
    "                        waits until the menu has taken the answer. A press that\n"
    "                        opens a menu returns once it is open, so 'menu' may\n"
    "                        come before or after it; an answer no menu took by\n"
    "                        the end of the script is an error\n"
    "Presses must land inside the window (the pointer may leave it); a press\n"
    "while another is held is an error; a button still held when the script\n"
    "ends is released and a menu still open is dismissed. Each wait for the\n"
    "add-on gives up after --timeout.\n";

namespace {

constexpr long kMinCoordinate = -32768;
constexpr long kMaxCoordinate = 32767;
constexpr long kMaxMoves = 1000;
constexpr long kMaxWait = 60000;
constexpr int32_t kDefaultMoves = 10;
constexpr long kMaxMenuChoice = 1023;

struct KeyName {
    const char* name;
    char code;
};

constexpr KeyName kKeyNames[] = {
    {"tab", B_TAB},       {"enter", B_ENTER},     {"backspace", B_BACKSPACE},
    {"delete", B_DELETE}, {"left", B_LEFT_ARROW}, {"right", B_RIGHT_ARROW},
    {"up", B_UP_ARROW},   {"down", B_DOWN_ARROW}, {"home", B_HOME},
    {"end", B_END},       {"escape", B_ESCAPE},   {"space", B_SPACE},
};

// The length of the printable UTF-8 character at the start of `text`, 0 when
// it is a control byte or not well-formed UTF-8.
size_t printableCharacter(const std::string& text, size_t at)
{
    const utf8::Character c = utf8::decode(std::string_view(text).substr(at));
    if (c.point == utf8::kBad || c.point < 0x20 || c.point == 0x7F)
        return 0;
    return static_cast<size_t>(c.length);
}

struct Word {
    const char* name;
    uint32_t buttons;
    uint32_t keys;
};

constexpr Word kWords[] = {
    {"shift", 0, B_SHIFT_KEY},
    {"command", 0, B_COMMAND_KEY},
    {"control", 0, B_CONTROL_KEY},
    {"option", 0, B_OPTION_KEY},
    {"primary", B_PRIMARY_MOUSE_BUTTON, 0},
    {"secondary", B_SECONDARY_MOUSE_BUTTON, 0},
    {"tertiary", B_TERTIARY_MOUSE_BUTTON, 0},
};

// One line's tokens, with the checks that name the line when they fail.
class Line {
public:
    Line(const std::string& file, int number, std::vector<std::string> tokens)
        : file(file), number(number), tokens(std::move(tokens))
    {
    }

    [[noreturn]] void fail(const std::string& message) const
    {
        throw ScriptError(file, number, message);
    }

    size_t size() const { return tokens.size(); }
    const std::string& operator[](size_t i) const { return tokens[i]; }
    bool isNumber(size_t i) const { return i < size() && parseInteger(tokens[i]).has_value(); }

    int32_t number32(size_t i, long low, long high, const char* what) const
    {
        const auto v = parseInteger(tokens[i]);
        if (!v)
            fail(std::string(what) + " '" + tokens[i] + "' is not a whole number");
        if (*v < low || *v > high)
            fail(std::string(what) + " " + tokens[i] + " is out of range (" + std::to_string(low) +
                 " to " + std::to_string(high) + ")");
        return static_cast<int32_t>(*v);
    }

    int32_t coordinate(size_t i, const char* what) const
    {
        return number32(i, kMinCoordinate, kMaxCoordinate, what);
    }

    // Button and key words from token `from` on; primary when no button is named.
    void buttonsAndKeys(size_t from, ScriptStep& step) const
    {
        for (size_t i = from; i < size(); ++i) {
            const Word* word = nullptr;
            for (const Word& w : kWords)
                if (tokens[i] == w.name)
                    word = &w;
            if (!word)
                fail("unknown word '" + tokens[i] +
                     "' (shift, command, control, option, primary, secondary, tertiary)");
            if ((step.buttons & word->buttons) || (step.keys & word->keys))
                fail(std::string(word->name) + " is named twice");
            step.buttons |= word->buttons;
            step.keys |= word->keys;
        }
        if (step.buttons == 0)
            step.buttons = B_PRIMARY_MOUSE_BUTTON;
    }

    // Modifier-key words from token `from` on.
    uint32_t keyWords(size_t from) const
    {
        uint32_t keys = 0;
        for (size_t i = from; i < size(); ++i) {
            const Word* word = nullptr;
            for (const Word& w : kWords)
                if (tokens[i] == w.name && w.keys != 0)
                    word = &w;
            if (!word)
                fail("unknown word '" + tokens[i] + "' (shift, command, control, option)");
            if (keys & word->keys)
                fail(std::string(word->name) + " is named twice");
            keys |= word->keys;
        }
        return keys;
    }

    void expectCount(size_t count, const char* usage) const
    {
        if (size() != count)
            fail(std::string("expected '") + usage + "'");
    }

private:
    const std::string& file;
    int number;
    std::vector<std::string> tokens;
};

// Whitespace-separated tokens up to a token that starts with '#'.
std::vector<std::string> tokenize(const std::string& text)
{
    std::vector<std::string> tokens;
    std::istringstream in(text);
    std::string token;
    while (in >> token && token[0] != '#')
        tokens.push_back(token);
    return tokens;
}

// `raw` is the whole line, for `type`, whose text keeps its spaces and '#'.
ScriptStep parseStep(const Line& line, const std::string& raw)
{
    ScriptStep step;
    const std::string& verb = line[0];
    if (verb == "move") {
        line.expectCount(3, "move X Y");
        step.kind = StepKind::Move;
        step.x = line.coordinate(1, "X");
        step.y = line.coordinate(2, "Y");
    } else if (verb == "press") {
        if (line.size() < 3)
            line.fail("expected 'press X Y [WORD]...'");
        step.kind = StepKind::Press;
        step.x = line.coordinate(1, "X");
        step.y = line.coordinate(2, "Y");
        line.buttonsAndKeys(3, step);
    } else if (verb == "drag") {
        if (line.size() < 5)
            line.fail("expected 'drag X1 Y1 X2 Y2 [STEPS] [WORD]...'");
        step.kind = StepKind::Drag;
        step.x = line.coordinate(1, "X1");
        step.y = line.coordinate(2, "Y1");
        step.toX = line.coordinate(3, "X2");
        step.toY = line.coordinate(4, "Y2");
        step.moves = kDefaultMoves;
        size_t words = 5;
        if (line.size() > 5 &&
            (line.isNumber(5) || std::isdigit(static_cast<unsigned char>(line[5][0])))) {
            step.moves = line.number32(5, 1, kMaxMoves, "STEPS");
            words = 6;
        }
        line.buttonsAndKeys(words, step);
    } else if (verb == "release") {
        line.expectCount(1, "release");
        step.kind = StepKind::Release;
    } else if (verb == "wait") {
        line.expectCount(2, "wait MS");
        step.kind = StepKind::Wait;
        step.milliseconds = line.number32(1, 0, kMaxWait, "MS");
    } else if (verb == "idle") {
        line.expectCount(1, "idle");
        step.kind = StepKind::Idle;
    } else if (verb == "png") {
        line.expectCount(2, "png FILE");
        step.kind = StepKind::Png;
        step.path = line[1];
        try {
            checkPngOutput(step.path);
        } catch (const HostError& e) {
            line.fail(e.what());
        }
    } else if (verb == "key") {
        if (line.size() < 2)
            line.fail("expected 'key NAME [WORD]...'");
        step.kind = StepKind::Key;
        for (const KeyName& k : kKeyNames)
            if (line[1] == k.name)
                step.text = std::string(1, k.code);
        if (step.text.empty()) {
            if (printableCharacter(line[1], 0) != line[1].size())
                line.fail("unknown key '" + line[1] +
                          "' (tab, enter, backspace, delete, left, right, up, down, home, end, "
                          "escape, space, or one printable character)");
            step.text = line[1];
        }
        step.keys = line.keyWords(2);
    } else if (verb == "type") {
        step.kind = StepKind::Type;
        const size_t at = raw.find("type") + 4;
        std::string text = at < raw.size() ? raw.substr(at + 1) : "";
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.empty())
            line.fail("expected 'type TEXT' (one space, then the text)");
        for (size_t i = 0; i < text.size();) {
            const size_t length = printableCharacter(text, i);
            if (length == 0)
                line.fail("type: byte " + std::to_string(i + 1) +
                          " of the text is not a printable UTF-8 character (use 'key' for tab and "
                          "the like)");
            i += length;
        }
        step.text = text;
    } else if (verb == "menu") {
        line.expectCount(2, "menu N' or 'menu dismiss");
        step.kind = StepKind::Menu;
        step.choice = line[1] == "dismiss" ? -1 : line.number32(1, 0, kMaxMenuChoice, "N");
    } else {
        line.fail("unknown step '" + verb +
                  "' (move, press, drag, release, wait, idle, png, key, type, menu)");
    }
    return step;
}

} // namespace

EditorScript parseEditorScript(const std::string& text, const std::string& file)
{
    EditorScript script;
    script.file = file;
    // Editors on some systems start a UTF-8 file with a byte-order mark.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::istringstream in(text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size())
                                                           : text);
    std::string raw;
    int number = 0;
    int heldSince = 0; // the line of the press whose button is still down
    while (std::getline(in, raw)) {
        ++number;
        Line line(script.file, number, tokenize(raw));
        if (line.size() == 0)
            continue;
        ScriptStep step = parseStep(line, raw);
        step.line = number;
        if ((step.kind == StepKind::Press || step.kind == StepKind::Drag) && heldSince != 0)
            line.fail("the press of line " + std::to_string(heldSince) +
                      " is still held; release it first");
        if (step.kind == StepKind::Press)
            heldSince = number;
        else if (step.kind == StepKind::Release)
            heldSince = 0;
        script.steps.push_back(std::move(step));
    }
    return script;
}

EditorScript readEditorScript(const std::string& file)
{
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        throw HostError(file + ": no such script file");
    if (!std::filesystem::is_regular_file(file, ec))
        throw HostError(file + ": the script is not a regular file");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw HostError(file + ": cannot read: " + std::strerror(errno));
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw HostError(file + ": cannot read: " + std::strerror(errno));
    return parseEditorScript(text.str(), file);
}

void checkScriptFitsWindow(const EditorScript& script, int32_t width, int32_t height)
{
    for (const ScriptStep& step : script.steps) {
        if (step.kind != StepKind::Press && step.kind != StepKind::Drag)
            continue;
        if (step.x < 0 || step.y < 0 || step.x >= width || step.y >= height)
            throw ScriptError(script.file, step.line,
                              "(" + std::to_string(step.x) + ", " + std::to_string(step.y) +
                                  ") is outside the " + std::to_string(width) + " x " +
                                  std::to_string(height) + " window");
    }
}
