// ProgressBar: the line's layout and its redraws on stderr.
#include "ProgressBar.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

constexpr size_t kMinBar = 5;
constexpr size_t kMinName = 8;
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

std::string clock(double seconds)
{
    const auto s = static_cast<long>(seconds);
    char text[32];
    if (s >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

int terminalColumns()
{
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

} // namespace

ProgressBar::ProgressBar(std::string file, int64_t totalFrames, double sampleRate, bool wanted)
    : name(std::move(file)), total(totalFrames), rate(sampleRate),
      shown(wanted && ::isatty(STDERR_FILENO)), start(std::chrono::steady_clock::now())
{
}

ProgressBar::~ProgressBar()
{
    if (drawn)
        std::fputc('\n', stderr);
}

std::string ProgressBar::line(const std::string& name, double fraction, double audioSeconds,
                              double elapsedSeconds, int columns)
{
    const auto width = static_cast<size_t>(std::max(columns - 1, 0));
    char tail[96];
    const double speed = elapsedSeconds > 0.0 ? audioSeconds / elapsedSeconds : 0.0;
    if (fraction >= 0.0)
        std::snprintf(tail, sizeof tail, " %3d%% %s %.1fx",
                      static_cast<int>(std::min(fraction, 1.0) * 100.0),
                      clock(elapsedSeconds).c_str(), speed);
    else
        std::snprintf(tail, sizeof tail, " %s of audio %s %.1fx", clock(audioSeconds).c_str(),
                      clock(elapsedSeconds).c_str(), speed);
    const std::string end = tail;
    if (end.size() >= width)
        return end.substr(0, width);

    // The name comes before the bar: all of it, else its start with at
    // least a short bar, else its start alone.
    const size_t room = width - end.size();
    const auto cut = [&name](size_t fits) {
        if (name.size() <= fits)
            return name;
        return fits > 3 ? name.substr(0, fits - 3) + "..." : name.substr(0, fits);
    };
    if (fraction < 0.0 || room < kMinName + kMinBar + 3)
        return cut(room) + end;
    const std::string label = cut(room - kMinBar - 3);
    const size_t cells = room - label.size() - 3;
    const auto filled = static_cast<size_t>(std::min(fraction, 1.0) * static_cast<double>(cells));
    return label + " [" + std::string(filled, '#') + std::string(cells - filled, '.') + "]" + end;
}

void ProgressBar::draw(int64_t frames)
{
    const double elapsed = std::chrono::duration<double>(last - start).count();
    const double fraction = total > 0 ? static_cast<double>(frames) / static_cast<double>(total)
                                      : (total == 0 ? 1.0 : -1.0);
    const std::string text =
        line(name, fraction, static_cast<double>(frames) / rate, elapsed, terminalColumns());
    // Back to the line's start, the new text, the rest of the old one erased.
    std::fprintf(stderr, "\r%s\x1b[K", text.c_str());
    std::fflush(stderr);
    drawn = true;
}

void ProgressBar::update(int64_t frames)
{
    if (!shown)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn && now - last < kRedrawEvery)
        return;
    last = now;
    draw(frames);
}

void ProgressBar::finish(int64_t frames)
{
    if (!shown)
        return;
    last = std::chrono::steady_clock::now();
    draw(frames);
    std::fputc('\n', stderr);
    drawn = false;
    shown = false;
}
