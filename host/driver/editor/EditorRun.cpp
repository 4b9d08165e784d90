// runEditor: the choice of session and of what it does.
#include "EditorRun.h"

#include "WindowSession.h"

void runEditor(Plugin& plugin, EditorSize size, const EditorRun& run)
{
    // Scripted runs give up on the first call into the add-on that is slow.
    const Watchdog::Policy policy = Watchdog::Policy::scripted(run.timeout);
    if (!run.window) {
        EditorSession(plugin, size, policy).run(run.script, run.png);
        return;
    }
    WindowSession session(plugin, size, run.title, policy);
    if (run.script.file.empty() && run.script.steps.empty() && run.png.empty())
        session.waitForClose();
    else
        session.run(run.script, run.png);
}
