// LevelCurve: the static input-to-output level curve of an effect, measured
// by feeding it steady sines and reading the settled output peak.
#pragma once

#include <vector>

#include "host/driver/addon/Plugin.h"

struct LevelPoint {
    double inDb;
    double outDb;
};

// `points` levels evenly from `fromDb` to `toDb` dBFS, a sine of `hz` each,
// with the effect's state cleared (suspend, resume) before every level.
std::vector<LevelPoint> measureLevelCurve(Plugin& plugin, double sampleRate, int points = 60,
                                          double fromDb = -60.0, double toDb = 6.0,
                                          double hz = 110.0);
