// Inside the X11 back end: writes to a server that has gone away must not
// raise SIGPIPE in a host's process. While a guard lives, the calling thread
// has SIGPIPE blocked; one raised meanwhile is taken before it is unblocked.
#pragma once

#include <signal.h>

class NoSigpipe {
public:
    NoSigpipe();
    ~NoSigpipe();
    NoSigpipe(const NoSigpipe&) = delete;
    NoSigpipe& operator=(const NoSigpipe&) = delete;

private:
    sigset_t old_;
    bool wasPending_ = false;
};
