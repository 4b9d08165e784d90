// wobrix-host: a command-line host for add-ons of this plug-in protocol. It
// reaches every effect only through dlopen and the AEffect record.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "Commands.h"
#include "WobrixVersion.h"
#include "host/driver/HostError.h"

namespace {

constexpr const char* kProgram = "wobrix-host";

// The documented exit status, the same in every command.
constexpr const char* kExitStatus =
    "Exit status: 0 when the command did what it was asked; 1 when it failed while running\n"
    "(an add-on that does not load, a file that cannot be read or written, an editor that\n"
    "stops answering); 2 when what was typed is refused (an unknown command or option, a\n"
    "missing argument, a malformed or out-of-range value); 128 + N when signal N stopped it\n"
    "while writing a file (130 for Ctrl-C), whose unfinished copy is then removed.";

CLI::App* findCommand(CLI::App& app, const std::string& name)
{
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; }))
        if (command->get_name() == name)
            return command;
    return nullptr;
}

std::string commandNames(CLI::App& app)
{
    std::string names;
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; }))
        names += (names.empty() ? "" : ", ") + command->get_name();
    return names;
}

UsageError unknownCommand(CLI::App& app, const std::string& name)
{
    return UsageError("unknown command '" + name + "'; the commands are " + commandNames(app) +
                      " (see " + kProgram + " --help)");
}

// `help [COMMAND]`: the same text as `--help` and `COMMAND --help`.
void addHelpCommand(CLI::App& app)
{
    auto topic = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand("help", "Show this help, or the help of one command");
    cmd->add_option("COMMAND", *topic, "The command to tell about");
    cmd->callback([&app, topic] {
        if (topic->empty()) {
            // app.help() would hand over to the command selected: this one.
            std::fputs(
                app.get_formatter()->make_help(&app, kProgram, CLI::AppFormatMode::Normal).c_str(),
                stdout);
            return;
        }
        CLI::App* command = findCommand(app, *topic);
        if (!command)
            throw unknownCommand(app, *topic);
        std::fputs(command->help(kProgram).c_str(), stdout);
    });
}

// The top level takes flags only, so its first other word names the command.
const char* commandWord(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] != '-')
            return argv[i];
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{
        "wobrix-host: inspect, render, demo, benchmark and drive the editors of plug-in add-ons",
        kProgram};
    app.require_subcommand(1, 1);
    app.set_version_flag("--version", std::string(kProgram) + " " + kWobrixVersion,
                         "Print the version and exit");
    addInfoCommand(app);
    addProcessCommand(app);
    addDemoCommand(app);
    addBenchCommand(app);
    addSkinCommand(app);
    addEditorCommand(app);
    addHelpCommand(app);
    app.footer(kExitStatus);
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        const std::string own = command->get_footer();
        command->footer(own.empty() ? kExitStatus : own + "\n\n" + kExitStatus);
    }
    try {
        if (const char* word = commandWord(argc, argv); word && !findCommand(app, word))
            throw unknownCommand(app, word);
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e); // --help, --version
    } catch (const CLI::ParseError& e) {
        if (app.get_subcommands().empty() && dynamic_cast<const CLI::RequiredError*>(&e))
            std::fprintf(stderr, "%s: no command given; the commands are %s (see %s --help)\n",
                         kProgram, commandNames(app).c_str(), kProgram);
        else
            std::fprintf(stderr, "%s: %s (see --help)\n", kProgram, e.what());
        return 2;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "%s: %s\n", kProgram, e.what());
        return 2;
    } catch (const HostError& e) {
        // Script errors too: "wobrix-host: FILE:LINE: message".
        std::fflush(stdout);
        std::fprintf(stderr, "%s: %s\n", kProgram, e.what());
        return 1;
    }
    return 0;
}
