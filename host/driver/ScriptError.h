// ScriptError: a refusal that points into a file the user wrote. Its message
// starts with FILE:LINE, so main prints it as it is, the way compilers and
// editors expect such lines.
#pragma once

#include <string>

#include "host/driver/HostError.h"

class ScriptError : public HostError {
public:
    ScriptError(const std::string& file, int line, const std::string& message)
        : HostError(file + ":" + std::to_string(line) + ": " + message)
    {
    }
};
