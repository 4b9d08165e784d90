// PrivateXServer: an Xvfb of our own on a display number it picks itself,
// for tests that must watch a server go away under an open editor.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class PrivateXServer {
public:
    PrivateXServer() = default;
    ~PrivateXServer() { kill(); }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    // Starts Xvfb (with `options` added to its command line) and waits until
    // it takes connections; false (the reason in `why`) when it cannot be
    // started or does not answer within seconds.
    bool start(std::string& why, const std::vector<std::string>& options = {});
    // ":N", once started.
    const std::string& name() const { return name_; }
    // The server dies at once (SIGKILL), as a crashed one does; waits for it.
    void kill();

private:
    pid_t pid_ = -1;
    std::string name_;
};
