// OutputFile: output paths checked before any work starts, and files that
// appear only when complete (written to a temporary beside them, renamed).
#pragma once

#include <functional>
#include <string>

// Throws HostError when the folder `path` would go into cannot be written.
void checkOutputFolder(const std::string& path);

// Calls write with the name of a fresh temporary in the folder of `path`; it
// answers "" when it wrote the whole file there, else why not. The temporary
// is renamed to `path` on success and removed otherwise; throws HostError
// naming `path` on any failure.
void writeThroughTemporary(const std::string& path,
                           const std::function<std::string(const std::string& temporary)>& write);
