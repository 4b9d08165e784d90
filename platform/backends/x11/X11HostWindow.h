// X11HostWindow: a top-level window our own programs open to show an editor
// the way a Linux host does (placeholder; filled in by the host side).
#pragma once
