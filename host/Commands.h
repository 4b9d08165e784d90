// The subcommands of wobrix-host; each adds itself to the CLI11 app with its
// options and runs from the subcommand's callback.
#pragma once

#include <CLI/CLI.hpp>

void addInfoCommand(CLI::App& app);
void addProcessCommand(CLI::App& app);
void addDemoCommand(CLI::App& app);
void addBenchCommand(CLI::App& app);
void addSkinCommand(CLI::App& app);
void addEditorCommand(CLI::App& app);
