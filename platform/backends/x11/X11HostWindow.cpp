// X11HostWindow: a top-level window for our own programs.
#include "platform/backends/x11/X11HostWindow.h"
