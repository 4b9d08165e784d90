// ProgressBar: one self-redrawing line on a terminal for a long render: the
// file's name, a bar fitted to the terminal's width, the percent done, the
// time elapsed and the speed in multiples of real time.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

class ProgressBar {
public:
    // Draws on stderr, and only when `wanted` and stderr is a terminal.
    // `totalFrames` negative: the length is unknown, so no bar or percent.
    ProgressBar(std::string name, int64_t totalFrames, double sampleRate, bool wanted);
    // Ends the line, so that a message after an error starts on its own.
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // `frames` are done; redraws at most ten times a second.
    void update(int64_t frames);
    // Draws the final state and ends the line.
    void finish(int64_t frames);

    // The line for a terminal `columns` wide: never more than columns - 1
    // characters, so the terminal never wraps it. `fraction` negative:
    // unknown; then `audioSeconds` stands in for the percent.
    static std::string line(const std::string& name, double fraction, double audioSeconds,
                            double elapsedSeconds, int columns);

private:
    void draw(int64_t frames);

    std::string name;
    int64_t total;
    double rate;
    bool shown;
    bool drawn = false;
    std::chrono::steady_clock::time_point start, last;
};
