// OutputFile: folder checks, and the temporary-and-rename writer.
#include "OutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "host/driver/HostError.h"

namespace {

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

std::string baseName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Removes the temporary unless it was renamed, also when `write` throws.
struct Temporary {
    std::string name;
    bool renamed = false;
    ~Temporary()
    {
        if (!renamed)
            ::unlink(name.c_str());
    }
};

} // namespace

void checkOutputFolder(const std::string& path)
{
    const std::string folder = folderOf(path);
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        throw HostError(path + ": cannot write into folder " + folder);
}

void writeThroughTemporary(const std::string& path,
                           const std::function<std::string(const std::string&)>& write)
{
    if (baseName(path).empty())
        throw HostError(path + ": names a folder, not a file");
    // Same folder, so the rename stays on one file system and is atomic.
    const std::string pattern = folderOf(path) + "/." + baseName(path) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        throw HostError(path + ": cannot create: " + std::strerror(errno));
    // mkstemp makes the file private; give it the mode a new file would have.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ::close(fd);
    Temporary temporary{name.data()};
    const std::string why = write(temporary.name);
    if (!why.empty())
        throw HostError(path + ": cannot write: " + why);
    if (::rename(temporary.name.c_str(), path.c_str()) != 0)
        throw HostError(path + ": cannot write: " + std::strerror(errno));
    temporary.renamed = true;
}
