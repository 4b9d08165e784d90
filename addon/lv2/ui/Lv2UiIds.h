// The LV2 editor's identity, shared by its binary and the description
// generator.
#pragma once

// Sessions may store this beside the plug-in's URI; it never changes once
// released.
inline constexpr const char* kLv2UiUri = "http://www.zeltoaudio.com/lv2/WobrixFree#ui";
inline constexpr const char* kLv2UiBinaryName = "WobrixFree_ui.so";
