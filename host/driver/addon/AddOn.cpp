// AddOn: dlopen and the entry-point search.
#include "AddOn.h"

#include <dlfcn.h>

AddOn::~AddOn()
{
    if (handle)
        dlclose(handle);
}

bool AddOn::load(const std::string& path, std::string& error)
{
    // A bare name would make dlopen search the library path, not the folder.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = why ? why : "cannot load";
        return false;
    }
    for (const char* name : {"main_plugin", "VSTPluginMain", "main"}) {
        if (void* sym = dlsym(handle, name)) {
            entryPoint = reinterpret_cast<MainPluginProc>(sym);
            entrySymbol = name;
            return true;
        }
    }
    error = "no entry point (main_plugin, VSTPluginMain or main)";
    return false;
}
