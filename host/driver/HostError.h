// HostError: the one kind of failure a command reports. Its message is a
// single line; main prints it after "wobrix-host: " and exits non-zero.
#pragma once

#include <stdexcept>
#include <string>

class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};
