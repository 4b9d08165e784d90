// Patch: parsing, checking and applying --program and --set; printing values.
#include "Patch.h"

#include <cstdio>

#include "Plugin.h"
#include "host/driver/HostError.h"
#include "host/driver/Numbers.h"

namespace {

ParameterSetting parseSetting(const std::string& text)
{
    const size_t eq = text.find('=');
    if (eq == std::string::npos)
        throw UsageError("--set " + text + ": expected INDEX=VALUE");
    const auto index = parseInteger(text.substr(0, eq));
    if (!index || *index < 0 || *index > INT32_MAX)
        throw UsageError("--set " + text + ": parameter index is not a whole number");
    const auto value = parseFloat(text.substr(eq + 1));
    if (!value)
        throw UsageError("--set " + text + ": value is not a number");
    // Parameters are normalised; an effect may not clamp what it is given.
    if (*value < 0.0f || *value > 1.0f)
        throw UsageError("--set " + text + ": parameter " + std::to_string(*index) +
                         " takes a value from 0 to 1");
    return {static_cast<int32_t>(*index), *value};
}

} // namespace

PatchChoice::PatchChoice(const std::string& programOption, const std::vector<std::string>& sets)
    : programText(programOption)
{
    for (const auto& s : sets)
        settings.push_back(parseSetting(s));
    if (!programText.empty()) {
        program = parseInteger(programText);
        if (!program)
            throw UsageError("--program " + programText + ": not a whole number");
    }
}

void PatchChoice::check(Plugin& plugin) const
{
    const AEffect& fx = plugin.effect();
    if (program && (*program < 0 || *program >= fx.numPrograms))
        throw UsageError("--program " + programText + ": no such program; " + plugin.effectName() +
                         " has programs 0 to " + std::to_string(fx.numPrograms - 1));
    for (const ParameterSetting& s : settings)
        if (s.index >= fx.numParams)
            throw UsageError("--set " + std::to_string(s.index) +
                             ": no such parameter; the effect has parameters 0 to " +
                             std::to_string(fx.numParams - 1));
}

void PatchChoice::apply(Plugin& plugin) const
{
    if (program)
        plugin.selectProgram(static_cast<int32_t>(*program));
    for (const ParameterSetting& s : settings)
        plugin.setParameter(s.index, s.value);
}

void printParameters(Plugin& plugin, const char* heading)
{
    std::printf("%s\n", heading);
    for (int32_t i = 0; i < plugin.effect().numParams; ++i) {
        // Parameters without a name are spare slots; their values say nothing.
        if (plugin.parameterName(i).empty())
            continue;
        std::printf("  %d: \"%s\" = %.6g  [%s %s]\n", i, plugin.parameterName(i).c_str(),
                    static_cast<double>(plugin.parameter(i)), plugin.parameterDisplay(i).c_str(),
                    plugin.parameterLabel(i).c_str());
    }
}
