// Running wobrix-host as a user does, for the command-line tests: the exit
// status and everything it printed, through files in the test's folder;
// the fixture that gives each test a fresh folder of its own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

struct Result {
    int status = -1;
    std::string out, err;
};

inline std::string slurp(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

inline size_t lineCount(const std::string& s)
{
    size_t n = 0;
    for (char c : s)
        n += c == '\n';
    return n + (!s.empty() && s.back() != '\n');
}

// Runs a shell command line with no input; its output goes through `dir`.
inline Result runCommand(const std::filesystem::path& dir, const std::string& commandLine)
{
    const std::filesystem::path out = dir / "stdout.txt", err = dir / "stderr.txt";
    const std::string cmd =
        commandLine + " >'" + out.string() + "' 2>'" + err.string() + "' </dev/null";
    Result r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return r;
}

// Each test gets a fresh folder under /tmp, removed with everything in it
// after the test.
class CliFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/wobrix-cli-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::filesystem::path dir;
};
