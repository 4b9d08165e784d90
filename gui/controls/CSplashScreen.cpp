// placeholder, filled in by its owner
#include "gui/controls/CSplashScreen.h"
