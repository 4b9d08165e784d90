// The watchdog's two policies, with short limits and its reports caught:
// each case waits for what it expects to be reported, never for a time.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "host/driver/addon/Watchdog.h"

namespace {

constexpr bigtime_t kShort = 1000;            // 1 ms: every watched call here is slow
constexpr bigtime_t kLong = 3600LL * 1000000; // an hour: never reached

// What the watchdog's thread reported, in order.
class Heard {
public:
    Watchdog::Reports reports()
    {
        return {[this](const std::string& m) { add("warn: " + m); },
                [this](const std::string& m) { add("give up: " + m); }};
    }
    // Waits until `count` reports have come (a minute at most, so a broken
    // watchdog fails the test instead of hanging it).
    std::vector<std::string> waitFor(size_t count)
    {
        std::unique_lock<std::mutex> hold(mutex);
        changed.wait_for(hold, std::chrono::minutes(1), [&] { return lines.size() >= count; });
        return lines;
    }

private:
    void add(const std::string& line)
    {
        {
            std::lock_guard<std::mutex> hold(mutex);
            lines.push_back(line);
        }
        changed.notify_all();
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> lines;
};

TEST(Watchdog, ScriptedGivesUpOnTheFirstSlowCallWithoutWarning)
{
    Heard heard;
    Watchdog dog(Watchdog::Policy::scripted(kShort), heard.reports());
    const Watchdog::Watch watch(dog, "ADDON: opcode 14 (open the editor)");
    EXPECT_EQ(heard.waitFor(1),
              std::vector<std::string>{"give up: ADDON: opcode 14 (open the editor) did not return "
                                       "within 0.001 s"});
    EXPECT_EQ(dog.timeout(), kShort);
}

TEST(Watchdog, LiveWarnsOnceThenGivesUpOnlyAfterTheStall)
{
    Heard heard;
    {
        Watchdog dog(Watchdog::Policy::live(kShort, 50000), heard.reports());
        const Watchdog::Watch first(dog, "ADDON: opcode 19 (editor idle)");
        const Watchdog::Watch second(dog, "ADDON: opcode 15 (close the editor)");
        const std::vector<std::string> lines = heard.waitFor(3);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0].rfind("warn: ADDON: opcode ", 0), 0u) << lines[0];
        EXPECT_NE(lines[0].find(" has not returned within 0.001 s; waiting up to 0.05 s"),
                  std::string::npos)
            << lines[0];
        EXPECT_EQ(lines[1].rfind("give up: ", 0), 0u) << "one warning for both slow calls";
        EXPECT_EQ(lines[2].rfind("give up: ", 0), 0u);
        EXPECT_NE(lines[2].find(" did not return within 0.05 s"), std::string::npos) << lines[2];
    }

    // A slow call that comes back before the stall ends with the warning.
    Heard slow;
    {
        Watchdog dog(Watchdog::Policy::live(kShort, kLong), slow.reports());
        const Watchdog::Watch watch(dog, "ADDON: opcode 19 (editor idle)");
        EXPECT_EQ(slow.waitFor(1).size(), 1u);
    }
    EXPECT_EQ(slow.waitFor(0).size(), 1u) << "no give-up";
}

} // namespace
