// runEditor: what `wobrix-host editor` and `wobrix-gallery` do once the
// editor's size is known and the script is read: the editor opened in a
// headless window, or in a window on the screen, and run as asked.
#pragma once

#include <string>

#include "host/driver/addon/Watchdog.h"
#include "host/driver/editor/EditorScript.h"
#include "host/driver/editor/EditorSession.h"

class Plugin;

struct EditorRun {
    bool window = false; // on the screen, titled `title`; else headless
    std::string title;
    EditorScript script; // no file: no script
    std::string png;     // the final picture; empty: none
    bigtime_t timeout = 0;
};

// Headless: plays the script and writes the picture. In a window: the same
// as real X input (WindowSession) when there is a script or a picture to
// write; with neither, the editor live until the user closes it
// (EditorWindow, no XTEST needed). HostError when it cannot open.
void runEditor(Plugin& plugin, EditorSize size, const EditorRun& run);
