// runEditor: the choice of session and of what it does.
#include "EditorRun.h"

#include <cstdio>

#include "EditorWindow.h"
#include "WindowSession.h"

void runEditor(Plugin& plugin, EditorSize size, const EditorRun& run)
{
    // These runs give up on the first call into the add-on that is slow, the
    // live window's too.
    const Watchdog::Policy policy = Watchdog::Policy::scripted(run.timeout);
    if (!run.window) {
        EditorSession(plugin, size, policy).run(run.script, run.png);
    } else if (!run.script.file.empty() || !run.script.steps.empty() || !run.png.empty()) {
        WindowSession(plugin, size, run.title, policy).run(run.script, run.png);
    } else {
        Watchdog dog(policy);
        EditorWindow live(plugin, dog, size, {run.title, "", ""});
        live.idle();
        std::printf("window: close it or press Ctrl+Q in it to end\n");
        std::fflush(stdout);
        live.waitForClose();
        live.close();
    }
}
