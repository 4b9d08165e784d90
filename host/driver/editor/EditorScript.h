// EditorScript: the steps the editor command plays into an add-on's window
// (pointer, keys, answers to pop-up menus), one per line, read and checked as
// a whole before anything is opened.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class StepKind { Move, Press, Drag, Release, Wait, Idle, Png, Key, Type, Menu };

struct ScriptStep {
    StepKind kind = StepKind::Idle;
    int line = 0;
    int32_t x = 0, y = 0;           // move, press, and where a drag starts (window pixels)
    int32_t toX = 0, toY = 0;       // where a drag ends
    int32_t moves = 0;              // drag: pointer moves from start to end
    uint32_t buttons = 0, keys = 0; // press, drag: button bits and modifier-key bits
    int32_t milliseconds = 0;       // wait
    std::string path;               // png
    std::string text;               // key: its bytes (one character or a key code); type: the text
    int32_t choice = -1;            // menu: the choosable item, 0-based; -1 dismisses
};

struct EditorScript {
    std::string file; // as named on the command line, for FILE:LINE messages
    std::vector<ScriptStep> steps;
};

// The script language, for --help and the README.
extern const char* const kEditorScriptHelp;

// Reads and parses `file`; HostError when it cannot be read, ScriptError
// (FILE:LINE: message) for the first bad line.
EditorScript readEditorScript(const std::string& file);
EditorScript parseEditorScript(const std::string& text, const std::string& file);

// Presses (and the start of drags) must land inside the window; the pointer
// may leave it while a button is held. ScriptError for the first that misses.
void checkScriptFitsWindow(const EditorScript& script, int32_t width, int32_t height);
