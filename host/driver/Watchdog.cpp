// Watchdog: the watched calls and the thread that times them.
#include "Watchdog.h"

#include <errno.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "HostError.h"
#include "Numbers.h"

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

Watchdog::Watchdog(bigtime_t timeout) : limit(timeout), thread([this] { run(); }) {}

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
        dog.watched.emplace(id, Entry{system_time() + dog.limit, what});
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

void Watchdog::run()
{
    std::unique_lock<std::mutex> hold(mutex);
    while (!stopping) {
        if (watched.empty()) {
            changed.wait(hold);
            continue;
        }
        const auto first =
            std::min_element(watched.begin(), watched.end(), [](const auto& a, const auto& b) {
                return a.second.deadline < b.second.deadline;
            });
        const bigtime_t now = system_time();
        if (now >= first->second.deadline) {
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%g", static_cast<double>(limit) / 1e6);
            abandon(first->second.what + " did not return within " + seconds + " s");
        }
        changed.wait_for(hold, std::chrono::microseconds(first->second.deadline - now));
    }
}
