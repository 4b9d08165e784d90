// placeholder, filled in by its owner
#include "gui/controls/COptionMenu.h"
