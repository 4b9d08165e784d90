// Plot: the demo's PNG for one program: dry and wet waveforms above, the
// measured static level curve below.
#pragma once

#include <string>
#include <vector>

#include "LevelCurve.h"
#include "host/driver/files/WavFile.h"

// Throws HostError if the PNG cannot be written.
void writeProgramPlot(const std::string& path, const std::string& title, const StereoAudio& dry,
                      const StereoAudio& wet, const std::vector<LevelPoint>& curve);
