// EditorDriver: drags, typed text and whole scripts, in terms of the steps.
#include "EditorDriver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "host/driver/addon/Plugin.h"
#include "platform/api/Utf8.h"

void EditorDriver::drag(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t moves,
                        uint32_t buttons, uint32_t keys)
{
    press(x1, y1, buttons, keys);
    moves = std::max(moves, 1);
    for (int32_t i = 1; i <= moves; ++i) {
        snooze(kMoveGap);
        const double t = static_cast<double>(i) / moves;
        move(x1 + static_cast<int32_t>(std::lround((x2 - x1) * t)),
             y1 + static_cast<int32_t>(std::lround((y2 - y1) * t)));
    }
    release();
}

void EditorDriver::type(const std::string& text)
{
    for (size_t at = 0; at < text.size();) {
        const auto length =
            static_cast<size_t>(utf8::decode(std::string_view(text).substr(at)).length);
        key(text.substr(at, length), 0);
        at += length;
    }
}

void EditorDriver::play(const EditorScript& script)
{
    for (const ScriptStep& step : script.steps) {
        setPlace(script.file + ":" + std::to_string(step.line));
        switch (step.kind) {
        case StepKind::Move: move(step.x, step.y); break;
        case StepKind::Press: press(step.x, step.y, step.buttons, step.keys); break;
        case StepKind::Drag:
            drag(step.x, step.y, step.toX, step.toY, step.moves, step.buttons, step.keys);
            break;
        case StepKind::Release: release(); break;
        case StepKind::Wait: snooze(static_cast<bigtime_t>(step.milliseconds) * 1000); break;
        case StepKind::Idle: idle(); break;
        case StepKind::Key: key(step.text, step.keys); break;
        case StepKind::Type: type(step.text); break;
        case StepKind::Menu: menu(step.choice); break;
        case StepKind::Png:
            writePng(step.path);
            std::printf("%s\n", step.path.c_str());
            std::fflush(stdout);
            break;
        }
    }
    checkMenuAnswered();
    setPlace("");
}

void EditorDriver::run(const EditorScript& script, const std::string& png)
{
    refresh();
    play(script);
    endInput();
    if (!png.empty()) {
        writePng(png);
        std::printf("%s\n", png.c_str());
        std::fflush(stdout);
    }
    close();
}

VstIntPtr EditorDriver::dispatchWatched(int32_t opcode, const char* what, void* ptr)
{
    return plugin.dispatchWatched(dog, opcode, what, ptr);
}

std::string EditorDriver::where() const
{
    return place.empty() ? plugin.path() : place;
}
