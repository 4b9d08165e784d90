// LiveState: parsing, checking, applying and writing the state file.
#include "LiveState.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "host/driver/HostError.h"
#include "host/driver/Numbers.h"
#include "host/driver/addon/Plugin.h"
#include "host/driver/files/OutputFile.h"

namespace {

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// One line's meaning into `state`; the reason it is refused, or "".
std::string parseLine(const std::string& line, LiveState& state)
{
    if (line.rfind("program ", 0) == 0) {
        const auto v = parseInteger(trimmed(line.substr(8)));
        if (!v || *v < 0 || *v > INT32_MAX)
            return "the program is not a whole number";
        if (state.program)
            return "a second program line";
        state.program = static_cast<int32_t>(*v);
        return "";
    }
    if (line.rfind("set ", 0) == 0) {
        const std::string setting = trimmed(line.substr(4));
        const size_t eq = setting.find('=');
        if (eq == std::string::npos)
            return "expected set INDEX=VALUE";
        const auto index = parseInteger(trimmed(setting.substr(0, eq)));
        const auto value = parseFloat(trimmed(setting.substr(eq + 1)));
        if (!index || *index < 0 || *index > INT32_MAX)
            return "the parameter index is not a whole number";
        if (!value || *value < 0.0f || *value > 1.0f)
            return "the value is not a number from 0 to 1";
        state.values.push_back({static_cast<int32_t>(*index), *value});
        return "";
    }
    return "expected `program N` or `set INDEX=VALUE`";
}

} // namespace

std::optional<LiveState> readLiveState(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (errno == ENOENT)
            return std::nullopt;
        throw UsageError(path + ": cannot read: " + std::strerror(errno));
    }
    LiveState state;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (const size_t hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        line = trimmed(line);
        if (line.empty())
            continue;
        if (const std::string why = parseLine(line, state); !why.empty())
            throw UsageError(path + ":" + std::to_string(number) + ": " + why);
    }
    if (in.bad())
        throw UsageError(path + ": cannot read: " + std::strerror(errno));
    return state;
}

void checkLiveState(const LiveState& state, const std::string& path, Plugin& plugin)
{
    const AEffect& fx = plugin.effect();
    if (state.program && *state.program >= fx.numPrograms)
        throw UsageError(path + ": no program " + std::to_string(*state.program) +
                         "; the effect has programs 0 to " + std::to_string(fx.numPrograms - 1));
    for (const ParameterSetting& s : state.values)
        if (s.index >= fx.numParams)
            throw UsageError(path + ": no parameter " + std::to_string(s.index) +
                             "; the effect has parameters 0 to " +
                             std::to_string(fx.numParams - 1));
}

void applyLiveState(const LiveState& state, Plugin& plugin)
{
    if (state.program)
        plugin.selectProgram(*state.program);
    for (const ParameterSetting& s : state.values)
        plugin.setParameter(s.index, s.value);
}

std::string liveStateText(Plugin& plugin)
{
    std::ostringstream out;
    out << "# " << plugin.effectName()
        << " state: the program, then each parameter's value (0 to 1)\n";
    out << "program " << plugin.currentProgram() << "\n";
    char value[32];
    for (int32_t i = 0; i < plugin.effect().numParams; ++i) {
        // Nine significant digits bring a float back exactly.
        std::snprintf(value, sizeof value, "%.9g", static_cast<double>(plugin.parameter(i)));
        out << "set " << i << "=" << value;
        if (const std::string name = trimmed(plugin.parameterName(i)); !name.empty())
            out << "  # " << name;
        out << "\n";
    }
    return out.str();
}

void writeLiveState(const std::string& path, Plugin& plugin)
{
    const std::string text = liveStateText(plugin);
    writeThroughTemporary(path, [&](const std::string& temporary) -> std::string {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        return out ? "" : std::string("cannot write: ") + std::strerror(errno);
    });
}
