// The image walk: the program and a dlopen'ed add-on found by an address
// inside them, and the walk's refusals.
#include <dlfcn.h>
#include <stdlib.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/api/Image.h"

namespace {

std::string realPath(const std::string& path)
{
    std::unique_ptr<char, decltype(&free)> p(realpath(path.c_str(), nullptr), free);
    return p ? std::string(p.get()) : std::string();
}

int functionInTheProgram()
{
    return 42;
}

TEST(ImageWalk, FindsTheProgramAndAnAddOnByAddress)
{
    std::string path;
    ASSERT_TRUE(findImageContaining(reinterpret_cast<const void*>(&functionInTheProgram), &path));
    EXPECT_EQ(realPath(path), realPath("/proc/self/exe"));

    void* handle = dlopen(WOBRIX_ADDON, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    void* entry = dlsym(handle, "main_plugin");
    ASSERT_NE(entry, nullptr);
    path.clear();
    ASSERT_TRUE(findImageContaining(entry, &path));
    EXPECT_EQ(realPath(path), realPath(WOBRIX_ADDON));
    dlclose(handle);

    // Heap memory lies in no image's text.
    const auto heap = std::make_unique<int>(0);
    path = "unchanged";
    EXPECT_FALSE(findImageContaining(heap.get(), &path));
    EXPECT_EQ(path, "unchanged");
}

TEST(ImageWalk, WalksFromTheProgramToTheEndAndRefusesBadCalls)
{
    image_info info{};
    int32_t cookie = 0;
    ASSERT_EQ(_get_next_image_info(0, &cookie, &info, sizeof info), B_OK);
    EXPECT_EQ(cookie, 1);
    EXPECT_EQ(info.id, 1);
    EXPECT_EQ(info.type, B_APP_IMAGE);
    EXPECT_NE(info.name[0], '\0');
    EXPECT_NE(info.text, nullptr);
    EXPECT_GT(info.text_size, 0);
    int count = 1;
    while (_get_next_image_info(0, &cookie, &info, sizeof info) == B_OK) {
        ++count;
        EXPECT_EQ(info.type, B_LIBRARY_IMAGE);
    }
    EXPECT_GT(count, 2); // the program, libc and the loader at least
    EXPECT_EQ(cookie, count);
    EXPECT_EQ(_get_next_image_info(0, &cookie, &info, sizeof info), B_BAD_VALUE);

    cookie = 0;
    EXPECT_EQ(_get_next_image_info(0, &cookie, &info, sizeof info - 1), B_BAD_VALUE);
    EXPECT_EQ(_get_next_image_info(1, &cookie, &info, sizeof info), B_BAD_VALUE);
    EXPECT_EQ(_get_next_image_info(0, nullptr, &info, sizeof info), B_BAD_VALUE);
    cookie = -1;
    EXPECT_EQ(_get_next_image_info(0, &cookie, &info, sizeof info), B_BAD_VALUE);
    EXPECT_EQ(cookie, -1);
}

} // namespace
