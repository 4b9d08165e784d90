// Running the built wobrix-gallery from a fresh folder, and reading the
// pictures it writes, for the gallery's command-line and golden tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "CliRun.h"
#include "tests/support/Picture.h"

// Each test gets a folder of its own (CliFolderTest), removed afterwards.
class GalleryRun : public CliFolderTest {
protected:
    // A hang fails the test (status 124) instead of stopping the suite.
    // env: what `env` sets or unsets first ("-u DISPLAY").
    Result run(const std::string& args, int seconds = 20, const std::string& env = "")
    {
        return runCommand(dir, "env " + env + " timeout " + std::to_string(seconds) +
                                   " '" WOBRIX_GALLERY "' " + args);
    }

    std::filesystem::path script(const std::string& text, const std::string& name = "steps.txt")
    {
        std::ofstream(dir / name) << text;
        return dir / name;
    }

    std::filesystem::path png(const std::string& name = "out.png") const { return dir / name; }
    std::string pngArg(const std::string& name = "out.png") const
    {
        return "--png '" + png(name).string() + "'";
    }
};
