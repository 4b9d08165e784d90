// Watchdog: gives up on an add-on that does not come back. A call into the
// add-on that may never return is watched; when its time is up, or when a
// wait for the add-on's window times out past repair, the process prints one
// line and exits at once: nothing of the add-on can be closed or freed safely
// any more, since its threads may still use the host's buffers.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "platform/api/OS.h"

class Watchdog {
public:
    explicit Watchdog(bigtime_t timeout);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    bigtime_t timeout() const { return limit; }

    // The --timeout option's text (milliseconds, 100 to 600000) as a
    // timeout; throws UsageError naming the option otherwise.
    static bigtime_t parseTimeout(const std::string& text);

    // Watches the calling thread from construction to destruction; `what`
    // names the call ("ADDON: opcode 15 (close the editor)").
    class Watch {
    public:
        Watch(Watchdog& dog, const std::string& what);
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

    private:
        Watchdog& dog;
        uint64_t id;
    };

    // Prints "PROGRAM: MESSAGE" and leaves the process without running
    // any destructor; stdout is flushed first.
    [[noreturn]] static void abandon(const std::string& message);

private:
    struct Entry {
        bigtime_t deadline;
        std::string what;
    };
    void run();

    const bigtime_t limit;
    std::mutex mutex;
    std::condition_variable changed;
    std::map<uint64_t, Entry> watched;
    uint64_t nextId = 1;
    bool stopping = false;
    std::thread thread;
};
