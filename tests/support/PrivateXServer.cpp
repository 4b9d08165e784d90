// PrivateXServer: Xvfb -displayfd tells us the display it found free.
#include "PrivateXServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

extern char** environ;

namespace {

constexpr int kPatienceMs = 10000;

} // namespace

bool PrivateXServer::start(std::string& why, const std::vector<std::string>& options)
{
    int fds[2];
    if (::pipe(fds) != 0) {
        why = std::strerror(errno);
        return false;
    }
    const std::string fd = std::to_string(fds[1]);
    std::vector<std::string> args = {"Xvfb",     "-displayfd", fd,  "-nolisten", "tcp",
                                     "-noreset", "-screen",    "0", "640x480x24"};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    // Its chatter about fonts and extensions is of no interest here.
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int failed = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (failed != 0) {
        pid_ = -1;
        ::close(fds[0]);
        why = std::string("cannot start Xvfb: ") + std::strerror(failed);
        return false;
    }
    std::string number;
    pollfd wait{fds[0], POLLIN, 0};
    char c = 0;
    while (::poll(&wait, 1, kPatienceMs) == 1 && ::read(fds[0], &c, 1) == 1 && c != '\n')
        number.push_back(c);
    ::close(fds[0]);
    if (c != '\n' || number.empty()) {
        kill();
        why = "Xvfb told no display number in time";
        return false;
    }
    name_ = ":" + number;
    return true;
}

void PrivateXServer::kill()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}
