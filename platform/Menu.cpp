// placeholder, filled in by its owner
#include "platform/Menu.h"
