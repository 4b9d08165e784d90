// Patch: the program and parameter values chosen on the command line
// (--program N, --set INDEX=VALUE), checked against an effect and applied
// through its record; and the effect's current values, printed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Plugin;

struct ParameterSetting {
    int32_t index;
    float value;
};

class PatchChoice {
public:
    // `program` empty leaves the effect's own program. Throws UsageError
    // naming the option whose text is not a number, or whose value is
    // outside 0..1.
    PatchChoice(const std::string& program, const std::vector<std::string>& sets);

    // Throws UsageError when the effect has no such program or parameter.
    void check(Plugin& plugin) const;
    // The program first (effSetProgram), then each value in the order given.
    void apply(Plugin& plugin) const;

    bool hasProgram() const { return program.has_value(); }
    const std::vector<ParameterSetting>& values() const { return settings; }

private:
    std::string programText;
    std::optional<long> program;
    std::vector<ParameterSetting> settings;
};

// One line per parameter after `heading`: index, name, value, display, label.
void printParameters(Plugin& plugin, const char* heading);
