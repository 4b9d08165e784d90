// The image walk over the dynamic loader's list of loaded objects.
#include "platform/api/Image.h"

#include <elf.h>
#include <link.h>
#include <unistd.h>

#include <climits>
#include <cstring>

namespace {

struct Walk {
    int32_t wanted; // index into the loader's list
    int32_t seen = 0;
    bool found = false;
    image_info* info;
};

void copyName(char (&to)[1024], const char* from)
{
    std::strncpy(to, from, sizeof to - 1);
    to[sizeof to - 1] = '\0';
}

// The loader names the program itself "", so its path comes from the kernel.
void programPath(char (&to)[1024])
{
    const ssize_t n = readlink("/proc/self/exe", to, sizeof to - 1);
    to[n > 0 ? n : 0] = '\0';
}

int32_t clampSize(ElfW(Xword) size)
{
    return size > static_cast<ElfW(Xword)>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(size);
}

int visit(dl_phdr_info* object, size_t, void* context)
{
    auto* walk = static_cast<Walk*>(context);
    if (walk->seen++ != walk->wanted)
        return 0;
    image_info& info = *walk->info;
    info = image_info{};
    info.id = walk->wanted + 1;
    const bool program = walk->wanted == 0;
    info.type = program ? B_APP_IMAGE : B_LIBRARY_IMAGE;
    if (object->dlpi_name != nullptr && object->dlpi_name[0] != '\0')
        copyName(info.name, object->dlpi_name);
    else if (program)
        programPath(info.name);
    for (ElfW(Half) i = 0; i < object->dlpi_phnum; ++i) {
        const ElfW(Phdr)& ph = object->dlpi_phdr[i];
        if (ph.p_type != PT_LOAD)
            continue;
        void* start = reinterpret_cast<void*>(object->dlpi_addr + ph.p_vaddr);
        if ((ph.p_flags & PF_X) != 0 && info.text == nullptr) {
            info.text = start;
            info.text_size = clampSize(ph.p_memsz);
        } else if ((ph.p_flags & PF_W) != 0 && info.data == nullptr) {
            info.data = start;
            info.data_size = clampSize(ph.p_memsz);
        }
    }
    walk->found = true;
    return 1;
}

} // namespace

status_t _get_next_image_info(team_id team, int32_t* cookie, image_info* info, size_t size)
{
    if (team != 0 || cookie == nullptr || info == nullptr || size < sizeof(image_info) ||
        *cookie < 0)
        return B_BAD_VALUE;
    Walk walk{*cookie, 0, false, info};
    dl_iterate_phdr(visit, &walk);
    if (!walk.found)
        return B_BAD_VALUE;
    ++*cookie;
    return B_OK;
}

bool findImageContaining(const void* address, std::string* path)
{
    const auto at = reinterpret_cast<uintptr_t>(address);
    image_info info;
    int32_t cookie = 0;
    while (_get_next_image_info(0, &cookie, &info, sizeof info) == B_OK) {
        const auto start = reinterpret_cast<uintptr_t>(info.text);
        if (info.text != nullptr && start <= at &&
            at - start <= static_cast<uintptr_t>(info.text_size)) {
            if (path != nullptr)
                *path = info.name;
            return true;
        }
    }
    return false;
}
