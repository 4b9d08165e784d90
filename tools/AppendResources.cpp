// append-resources: writes a resource container after the ELF image of a
// built file, replacing a container an earlier run left there.
//
//   append-resources OUTPUT TYPE:ID:NAME:FILE...
//
// TYPE is a four-character code, ID a decimal integer. NAME may contain
// colons (the platform's own names do); FILE is what follows the last one.
// The file type attribute is added after the given resources, since every
// add-on carries it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/resources/ElfImage.h"
#include "platform/resources/ResourceWriter.h"

namespace {

constexpr uint32_t kTypeAttributeType = 0x4D494D53; // 'MIMS'
constexpr int32_t kTypeAttributeId = 2;
constexpr const char kTypeAttributeName[] = "BEOS:TYPE";
constexpr const char kElfExecutableType[] = "application/x-vnd.Be-elfexecutable";

bool parseItem(std::string_view arg, ResourceItem& item, std::string& path)
{
    const size_t first = arg.find(':');
    const size_t second = first == std::string_view::npos ? first : arg.find(':', first + 1);
    const size_t last = arg.rfind(':');
    if (second == std::string_view::npos || last == second || first != 4)
        return false;
    item.type = 0;
    for (char c : arg.substr(0, 4))
        item.type = item.type << 8 | static_cast<uint8_t>(c);
    const std::string_view id = arg.substr(first + 1, second - first - 1);
    const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), item.id);
    if (ec != std::errc() || end != id.data() + id.size())
        return false;
    item.name = std::string(arg.substr(second + 1, last - second - 1));
    path = std::string(arg.substr(last + 1));
    return !path.empty();
}

bool readFile(const std::string& path, std::vector<uint8_t>& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int fail(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "append-resources: %s: %s\n", what, detail.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: append-resources OUTPUT TYPE:ID:NAME:FILE...\n");
        return 2;
    }
    const std::string output = argv[1];
    ResourceWriter writer;
    bool hasTypeAttribute = false;
    for (int i = 2; i < argc; ++i) {
        ResourceItem item;
        std::string path;
        if (!parseItem(argv[i], item, path))
            return fail("bad resource argument", argv[i]);
        if (!readFile(path, item.data))
            return fail("cannot read", path);
        hasTypeAttribute |= item.type == kTypeAttributeType && item.id == kTypeAttributeId;
        writer.add(std::move(item));
    }
    if (!hasTypeAttribute) {
        ResourceItem attribute{kTypeAttributeType, kTypeAttributeId, kTypeAttributeName, {}};
        attribute.data.assign(std::begin(kElfExecutableType), std::end(kElfExecutableType));
        writer.add(std::move(attribute));
    }
    const std::optional<std::vector<uint8_t>> bytes = writer.build();
    if (!bytes)
        return fail("resources too large", output);

    const int fd = open(output.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return fail("cannot open", output + ": " + std::strerror(errno));
    struct stat st {};
    const std::optional<uint64_t> imageEnd = ElfImage::imageEnd(fd);
    if (!imageEnd || fstat(fd, &st) != 0) {
        close(fd);
        return fail("not an ELF file", output);
    }
    const auto fileSize = static_cast<uint64_t>(st.st_size);
    if (fileSize > *imageEnd && !ElfImage::findResourceContainer(fd)) {
        close(fd);
        return fail("unknown data after the ELF image", output);
    }
    bool ok = ftruncate(fd, static_cast<off_t>(*imageEnd)) == 0;
    size_t done = 0;
    while (ok && done < bytes->size()) {
        const ssize_t put = pwrite(fd, bytes->data() + done, bytes->size() - done,
                                   static_cast<off_t>(*imageEnd + done));
        ok = put > 0;
        if (ok)
            done += static_cast<size_t>(put);
    }
    ok = close(fd) == 0 && ok;
    return ok ? 0 : fail("cannot write", output + ": " + std::strerror(errno));
}
