// Creates the bass effect for an entry point. Never throws: every failure
// answers null, with nothing left allocated.
#pragma once

#include "ZeltoBass.h"

AEffect* createZeltoBass(HostCallback host, HostWindowKind window) noexcept;
