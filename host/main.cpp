// wobrix-host: a command-line host for add-ons of this plug-in protocol. It
// reaches every effect only through dlopen and the AEffect record.
#include <cstdio>

#include "Commands.h"
#include "host/driver/HostError.h"
#include "host/driver/ScriptError.h"

int main(int argc, char** argv)
{
    CLI::App app{
        "wobrix-host: inspect, render, demo, benchmark and drive the editors of plug-in add-ons",
        "wobrix-host"};
    app.require_subcommand(1, 1);
    addInfoCommand(app);
    addProcessCommand(app);
    addDemoCommand(app);
    addBenchCommand(app);
    addSkinCommand(app);
    addEditorCommand(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        // No or unknown command: the usage says what there is.
        if (app.get_subcommands().empty()) {
            std::fprintf(stderr, "wobrix-host: %s\n%s", e.what(), app.help().c_str());
            return 2;
        }
        // Otherwise one line, like every other refusal.
        std::fprintf(stderr, "wobrix-host: %s (see --help)\n", e.what());
        return 2;
    } catch (const ScriptError& e) {
        // FILE:LINE: message, as it is.
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "wobrix-host: %s\n", e.what());
        return 2;
    } catch (const HostError& e) {
        std::fprintf(stderr, "wobrix-host: %s\n", e.what());
        return 1;
    }
    return 0;
}
