// EditorIdle: the editor's idle (opcode 19) on a host thread at a steady
// rate, and on request from other threads, never two calls at once.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/api/OS.h"

class EditorIdle {
public:
    // `call` sends one idle; it runs on the idle thread or on the thread of
    // now(), always under this object's lock.
    EditorIdle(std::function<void()> call, bigtime_t period);
    // Stops the thread.
    ~EditorIdle();
    EditorIdle(const EditorIdle&) = delete;
    EditorIdle& operator=(const EditorIdle&) = delete;

    void start();
    // Returns once the thread has made its last call and ended.
    void stop();
    // One idle on the calling thread, after any that is under way.
    void now();

private:
    void run();

    std::function<void()> call;
    const bigtime_t period;
    std::mutex calling; // held around every call
    std::mutex state;   // guards stopping
    std::condition_variable wake;
    bool stopping = false;
    std::thread thread;
};
