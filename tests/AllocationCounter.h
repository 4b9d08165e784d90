// Counts every global operator new in the test program, so a test can check
// that a call allocates nothing.
#pragma once

#include <cstddef>

size_t allocationCount();
