// OutputFile: output paths checked before any work starts, and files that
// appear only when complete (written to a temporary beside them, renamed),
// also when the output is a symbolic link or the run is interrupted.
#pragma once

#include <functional>
#include <string>

// Throws HostError, naming `path` and the system's reason, when `path` is a
// folder or the folder it would go into is missing or cannot be written.
// A symbolic link is checked at its target.
void checkOutputFolder(const std::string& path);

// Throws UsageError unless `path` ends in ".png" (any case): pictures are
// only ever written as PNG.
void checkPngPath(const std::string& path);

// Both checks for a picture to write: checkPngPath, then checkOutputFolder.
void checkPngOutput(const std::string& path);

// Calls write with the name of a fresh temporary beside the file `path`
// names (beside a symbolic link's target, so the link stays a link); it
// answers "" when it wrote the whole file there, else why not. On success
// the temporary takes the mode of the file it replaces (a new file gets
// 0666 less the umask) and is renamed over it; otherwise it is removed and
// HostError names `path`. SIGINT, SIGTERM and SIGHUP meanwhile remove the
// temporary and end the program with 128 + the signal's number, leaving an
// existing file untouched. One such write at a time per process.
void writeThroughTemporary(const std::string& path,
                           const std::function<std::string(const std::string& temporary)>& write);
