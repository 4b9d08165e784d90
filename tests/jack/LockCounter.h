// Counts the mutex locks taken on the calling thread while counting is on,
// in the whole process: the dlopened add-on's locks included.
#pragma once

#include <cstddef>

void countLocks(bool on);
size_t lockCount();
