// ScriptError: a refusal that points into a file the user wrote. Its message
// starts with FILE:LINE, the way compilers and editors expect such lines;
// main prints it after the program's name, as every other failure.
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
