// Watchdog: gives up on an add-on that does not come back. A call into the
// add-on that may never return is watched. What a slow call costs is the
// caller's policy: a scripted run gives up on the first call slower than its
// limit; a live one warns once and gives up only after a long stall. Giving
// up prints one line and exits at once: nothing of the add-on can be closed
// or freed safely any more, since its threads may still use the host's
// buffers.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "platform/api/OS.h"

class Watchdog {
public:
    struct Policy {
        bigtime_t limit; // a call slower than this is slow
        bigtime_t stall; // a call slower than this is given up on; at least `limit`

        // Gives up on the first slow call.
        static Policy scripted(bigtime_t timeout) { return {timeout, timeout}; }
        // Warns once, on the first slow call, and gives up after `stall`.
        static Policy live(bigtime_t timeout, bigtime_t stall) { return {timeout, stall}; }
    };
    // What the watchdog's thread does with its messages. By default a
    // warning is printed as "PROGRAM: MESSAGE" and giving up is abandon();
    // a test may count them instead (a give-up that returns forgets the call).
    struct Reports {
        std::function<void(const std::string&)> warn;
        std::function<void(const std::string&)> giveUp;
    };

    explicit Watchdog(Policy policy, Reports reports = {});
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // How long one call may take before it is slow; the sessions' waits for
    // the add-on's window use it too.
    bigtime_t timeout() const { return policy.limit; }

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
        bigtime_t start;
        std::string what;
        bool slow = false; // past the limit, so only the stall is left
    };
    bigtime_t due(const Entry& entry) const;
    void run();

    const Policy policy;
    const Reports reports;
    std::mutex mutex;
    std::condition_variable changed;
    std::map<uint64_t, Entry> watched;
    uint64_t nextId = 1;
    bool warned = false; // the one warning is given
    bool stopping = false;
    std::thread thread;
};
