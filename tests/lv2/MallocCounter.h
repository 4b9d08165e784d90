// Counts every call of the C allocation functions in this process, the
// loaded plug-ins' included, so a test can check that a call allocates and
// frees nothing. Off under the sanitizers, which own these functions.
#pragma once

#include <cstddef>

// False when the counter is compiled out.
bool mallocCounterActive();
size_t mallocCalls();
