// placeholder, filled in by its owner
#include "platform/TextView.h"
