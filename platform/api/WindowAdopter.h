// WindowAdopter: how an editor gets its window without knowing what shows
// it. The add-on that assembles an editor picks the adopter of its back end.
#pragma once

#include <cstdint>

class BWindow;

// Makes a running window of width x height pixels from whatever a host handed
// over (the editor opcode's pointer), or null when the handle is refused. The
// window is the caller's to delete.
using WindowAdopter = BWindow* (*)(void* hostHandle, int32_t width, int32_t height);
