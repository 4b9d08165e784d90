// BassRiff: the deterministic stereo bass line the demo renders.
#pragma once

#include "host/driver/files/WavFile.h"

// Four seconds of a saw-and-sine bass riff at `sampleRate`.
StereoAudio makeBassRiff(int sampleRate = 44100);
