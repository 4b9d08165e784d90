// AddOn: one loaded add-on of this protocol, reached only through dlopen and
// its entry point (main_plugin, else VSTPluginMain, else main).
#pragma once

#include <string>

#include "plugin/AEffect.h"

class AddOn {
public:
    AddOn() = default;
    ~AddOn();
    AddOn(const AddOn&) = delete;
    AddOn& operator=(const AddOn&) = delete;

    // Loads the file; on failure answers false with a one-line reason.
    bool load(const std::string& path, std::string& error);
    MainPluginProc entry() const { return entryPoint; }
    const std::string& entryName() const { return entrySymbol; }

private:
    void* handle = nullptr;
    MainPluginProc entryPoint = nullptr;
    std::string entrySymbol;
};
