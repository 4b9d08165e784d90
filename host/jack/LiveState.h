// LiveState: the program and parameter values a live session keeps between
// runs, as plain text a person can read and edit:
//     program 3
//     set 1=0.600000024  # Tube Dist
// one `set INDEX=VALUE` line per parameter (values 0 to 1), `#` to the end of
// a line a comment. Written through the one safe write, read at start.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/driver/addon/Patch.h"

class Plugin;

struct LiveState {
    std::optional<int32_t> program;
    std::vector<ParameterSetting> values;
};

// The state in `path`; nothing when there is no such file. Throws UsageError
// ("PATH:LINE: why", or "PATH: cannot read: reason") for a malformed or
// unreadable file, which is left as it is.
std::optional<LiveState> readLiveState(const std::string& path);
// UsageError naming `path` when the effect lacks the program or a parameter.
void checkLiveState(const LiveState& state, const std::string& path, Plugin& plugin);
// The program first, then each value in order.
void applyLiveState(const LiveState& state, Plugin& plugin);
// The effect's program and every parameter's value, as the file holds them.
std::string liveStateText(Plugin& plugin);
// Writes liveStateText through a temporary renamed over `path`; HostError
// when it cannot.
void writeLiveState(const std::string& path, Plugin& plugin);
