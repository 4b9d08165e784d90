// HostError: the one kind of failure a command reports. Its message is a
// single line; main prints it after "wobrix-host: " and exits 1.
// UsageError: a refusal of what was typed (an unknown option, a malformed or
// out-of-range value); main prints it the same way and exits 2.
#pragma once

#include <stdexcept>
#include <string>

class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

class UsageError : public HostError {
public:
    explicit UsageError(const std::string& message) : HostError(message) {}
};
