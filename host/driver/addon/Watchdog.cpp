// Watchdog: the watched calls and the thread that times them.
#include "Watchdog.h"

#include <errno.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "host/driver/HostError.h"
#include "host/driver/Numbers.h"

namespace {
std::string seconds(bigtime_t time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g s", static_cast<double>(time) / 1e6);
    return text;
}
} // namespace

bigtime_t Watchdog::parseTimeout(const std::string& text)
{
    constexpr long kShortest = 100;   // ms
    constexpr long kLongest = 600000; // ms
    const auto v = parseInteger(text);
    if (!v || *v < kShortest || *v > kLongest)
        throw UsageError("--timeout " + text +
                         ": must be a whole number of milliseconds from 100 to 600000");
    return static_cast<bigtime_t>(*v) * 1000;
}

Watchdog::Watchdog(Policy policy, Reports given)
    : policy{policy.limit, std::max(policy.stall, policy.limit)}, reports(std::move(given)),
      thread([this] { run(); })
{
}

Watchdog::~Watchdog()
{
    {
        std::lock_guard<std::mutex> hold(mutex);
        stopping = true;
    }
    changed.notify_all();
    thread.join();
}

Watchdog::Watch::Watch(Watchdog& dog, const std::string& what) : dog(dog)
{
    {
        std::lock_guard<std::mutex> hold(dog.mutex);
        id = dog.nextId++;
        dog.watched.emplace(id, Entry{system_time(), what});
    }
    dog.changed.notify_all();
}

Watchdog::Watch::~Watch()
{
    std::lock_guard<std::mutex> hold(dog.mutex);
    dog.watched.erase(id);
}

void Watchdog::abandon(const std::string& message)
{
    std::fflush(stdout);
    // The running program's own name: wobrix-host or wobrix-gallery.
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, message.c_str());
    std::fflush(stderr);
    std::_Exit(1);
}

// When the entry's next step is due: the warning at the limit (a scripted
// policy has none), else giving up at the stall.
bigtime_t Watchdog::due(const Entry& entry) const
{
    return entry.start + (entry.slow || policy.stall == policy.limit ? policy.stall : policy.limit);
}

void Watchdog::run()
{
    std::unique_lock<std::mutex> hold(mutex);
    while (!stopping) {
        if (watched.empty()) {
            changed.wait(hold);
            continue;
        }
        const auto first =
            std::min_element(watched.begin(), watched.end(), [this](const auto& a, const auto& b) {
                return due(a.second) < due(b.second);
            });
        Entry& entry = first->second;
        const bigtime_t now = system_time();
        const bigtime_t when = due(entry);
        if (now < when) {
            changed.wait_for(hold, std::chrono::microseconds(when - now));
            continue;
        }
        if (entry.slow || policy.stall == policy.limit) {
            const std::string message =
                entry.what + " did not return within " + seconds(policy.stall);
            watched.erase(first);
            if (reports.giveUp)
                reports.giveUp(message);
            else
                abandon(message);
            continue;
        }
        entry.slow = true;
        if (warned)
            continue;
        warned = true;
        const std::string message = entry.what + " has not returned within " +
                                    seconds(policy.limit) + "; waiting up to " +
                                    seconds(policy.stall);
        if (reports.warn) {
            reports.warn(message);
        } else {
            std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, message.c_str());
            std::fflush(stderr);
        }
    }
}
