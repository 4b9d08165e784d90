// Storage of the out-of-memory flag; false when the add-on is loaded.
#include "OutOfMemory.h"

bool oome = false;
