// A minimal LV2 host for tests: dlopen a bundle's binary, take its
// descriptor from lv2_descriptor, and run instances with no features, as
// the plainest hosts (lv2apply) do.
#pragma once

#include <dlfcn.h>
#include <lv2/core/lv2.h>

#include <stdexcept>
#include <string>

class Lv2Binary {
public:
    explicit Lv2Binary(const std::string& path)
        : handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
    {
        if (!handle)
            throw std::runtime_error(dlerror());
        entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(handle, "lv2_descriptor"));
        if (!entry)
            throw std::runtime_error(path + ": no lv2_descriptor");
    }
    ~Lv2Binary() { dlclose(handle); }
    Lv2Binary(const Lv2Binary&) = delete;
    Lv2Binary& operator=(const Lv2Binary&) = delete;

    const LV2_Descriptor* descriptor(uint32_t index) const { return entry(index); }

private:
    void* handle;
    LV2_Descriptor_Function entry = nullptr;
};

// One instantiated plug-in, activated for its lifetime.
class Lv2Instance {
public:
    Lv2Instance(const LV2_Descriptor* d, double rate, const std::string& bundle) : desc(d)
    {
        const LV2_Feature* none[] = {nullptr};
        handle = desc->instantiate(desc, rate, bundle.c_str(), none);
        if (!handle)
            throw std::runtime_error("instantiate failed");
        desc->activate(handle);
    }
    ~Lv2Instance()
    {
        desc->deactivate(handle);
        desc->cleanup(handle);
    }
    Lv2Instance(const Lv2Instance&) = delete;
    Lv2Instance& operator=(const Lv2Instance&) = delete;

    void connect(uint32_t port, void* data) { desc->connect_port(handle, port, data); }
    void run(uint32_t frames) { desc->run(handle, frames); }
    void activate() { desc->activate(handle); }
    void deactivate() { desc->deactivate(handle); }

private:
    const LV2_Descriptor* desc;
    LV2_Handle handle = nullptr;
};
