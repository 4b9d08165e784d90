// NoSigpipe: SIGPIPE blocked around our writes to the X server.
#include "platform/backends/x11/NoSigpipe.h"

#include <pthread.h>

#include <ctime>

NoSigpipe::NoSigpipe()
{
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    // One already pending is the host's own; it stays for the host.
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe, &old_);
}

NoSigpipe::~NoSigpipe()
{
    if (!wasPending_) {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        const timespec now{0, 0};
        while (sigtimedwait(&pipe, nullptr, &now) > 0) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
}
