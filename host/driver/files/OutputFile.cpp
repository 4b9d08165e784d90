// OutputFile: folder checks, the temporary-and-rename writer, and the signal
// handlers that keep an interrupted write from leaving its temporary.
#include "OutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <strings.h>
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

bool isFolder(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Where writing `path` lands: the last target of a chain of symbolic links,
// which need not exist yet (a shell's `>` creates it too).
std::string landingPath(const std::string& path)
{
    std::string at = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return at;
        std::vector<char> target(PATH_MAX + 1);
        const ssize_t n = ::readlink(at.c_str(), target.data(), PATH_MAX);
        if (n <= 0)
            throw HostError(path + ": cannot follow the link: " + std::strerror(errno));
        const std::string to(target.data(), static_cast<size_t>(n));
        at = to[0] == '/' || folderOf(at) == "." ? to : folderOf(at) + "/" + to;
    }
    throw HostError(path + ": " + std::strerror(ELOOP));
}

// The temporary a signal handler removes. Only the handler reads it; it is
// filled by mkstemp itself, so no moment exists where the file is there but
// its name is not.
char pendingTemporary[PATH_MAX + 1];
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void removeTemporaryAndExit(int signal)
{
    // Only async-signal-safe calls here.
    if (pendingTemporary[0] != '\0')
        ::unlink(pendingTemporary);
    ::_exit(128 + signal);
}

sigset_t handledSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int s : kSignals)
        sigaddset(&set, s);
    return set;
}

// Blocks SIGINT, SIGTERM and SIGHUP in this thread for its lifetime.
class SignalsHeld {
public:
    SignalsHeld()
    {
        const sigset_t set = handledSignals();
        ::pthread_sigmask(SIG_BLOCK, &set, &before);
    }
    ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &before, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t before;
};

// The temporary for one write: created beside the target, removed unless it
// was renamed (also when the writer throws), watched by the signal handlers
// for as long as it exists. Signals ignored before (nohup) stay ignored.
class Temporary {
public:
    Temporary(const std::string& path, const std::string& target)
    {
        const std::string pattern = folderOf(target) + "/." + baseName(target) + ".XXXXXX";
        if (pattern.size() > PATH_MAX)
            throw HostError(path + ": cannot create: " + std::strerror(ENAMETOOLONG));
        SignalsHeld held;
        for (size_t i = 0; i < std::size(kSignals); ++i) {
            ::sigaction(kSignals[i], nullptr, &previous[i]);
            if (previous[i].sa_handler == SIG_IGN)
                continue;
            struct sigaction act {};
            act.sa_handler = removeTemporaryAndExit;
            sigfillset(&act.sa_mask);
            ::sigaction(kSignals[i], &act, nullptr);
        }
        std::memcpy(pendingTemporary, pattern.c_str(), pattern.size() + 1);
        const int fd = ::mkstemp(pendingTemporary);
        if (fd < 0) {
            const int error = errno;
            disarm();
            throw HostError(path + ": cannot create: " + std::strerror(error));
        }
        name = pendingTemporary;
        keepModeOf(target, fd);
        ::close(fd);
    }

    ~Temporary()
    {
        if (name.empty())
            return;
        SignalsHeld held;
        ::unlink(name.c_str());
        disarm();
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    const std::string& path() const { return name; }

    // Renames the temporary over `target`; 0, else the errno of the failure.
    int renameTo(const std::string& target)
    {
        SignalsHeld held;
        if (::rename(name.c_str(), target.c_str()) != 0)
            return errno;
        name.clear();
        disarm();
        return 0;
    }

private:
    // mkstemp makes the file private; give it the mode of the file it will
    // replace, or the mode a new file would have.
    static void keepModeOf(const std::string& target, int fd)
    {
        struct stat st {};
        if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            // Best effort: only the owner's own groups, or root, can keep them.
            if ((st.st_uid != ::geteuid() || st.st_gid != ::getegid()) &&
                ::fchown(fd, st.st_uid, st.st_gid) != 0) {
            }
            ::fchmod(fd, st.st_mode & 07777);
            return;
        }
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }

    // Called with the signals held.
    void disarm()
    {
        pendingTemporary[0] = '\0';
        for (size_t i = 0; i < std::size(kSignals); ++i)
            if (previous[i].sa_handler != SIG_IGN)
                ::sigaction(kSignals[i], &previous[i], nullptr);
    }

    std::string name;
    struct sigaction previous[std::size(kSignals)]{};
};

} // namespace

void checkOutputFolder(const std::string& path)
{
    if (baseName(path).empty()) {
        if (isFolder(path))
            throw HostError(path + ": " + std::strerror(EISDIR) + "; give the name of a file");
        throw HostError(path + ": ends in '/', so it names a folder, not a file");
    }
    const std::string target = landingPath(path);
    // A link's target may lie elsewhere; say where.
    const std::string named = target == path ? path : path + " (a link to " + target + ")";
    if (isFolder(target))
        throw HostError(named + ": " + std::strerror(EISDIR) + "; give the name of a file");
    const std::string folder = folderOf(target);
    const std::string into = named + ": cannot write into folder " + folder + ": ";
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        throw HostError(into + (errno == ENOENT ? "it does not exist" : std::strerror(errno)));
    if (!S_ISDIR(st.st_mode))
        throw HostError(into + "it is a file, not a folder");
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        throw HostError(into + std::strerror(errno));
}

void checkPngPath(const std::string& path)
{
    const std::string name = baseName(path);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || ::strcasecmp(name.c_str() + dot, ".png") != 0)
        throw UsageError(path + ": pictures are written as PNG only; name the file *.png");
}

void checkPngOutput(const std::string& path)
{
    checkPngPath(path);
    checkOutputFolder(path);
}

void writeThroughTemporary(const std::string& path,
                           const std::function<std::string(const std::string&)>& write)
{
    checkOutputFolder(path);
    // Same folder as the target, so the rename stays on one file system and
    // is atomic, and a symbolic link keeps pointing at the new file.
    const std::string target = landingPath(path);
    Temporary temporary(path, target);
    const std::string why = write(temporary.path());
    if (!why.empty())
        throw HostError(path + ": cannot write: " + why);
    if (const int error = temporary.renameTo(target))
        throw HostError(path + ": cannot write: " + std::strerror(error));
}
