// The resource container: its layout and checksum with the skin's names,
// lookups after appending it to a real ELF file, and refusal of every kind
// of damaged container.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/api/BFile.h"
#include "platform/api/BResources.h"
#include "platform/resources/ElfImage.h"
#include "platform/resources/ResourceLayout.h"
#include "platform/resources/ResourceReader.h"
#include "platform/resources/ResourceWriter.h"

namespace rl = resource_layout;

namespace {

constexpr uint32_t kRawt = 0x52415754;
constexpr uint32_t kMims = 0x4D494D53;
constexpr uint32_t kSkinChecksum = 0x58CCAA1D;
constexpr char kMime[] = "application/x-vnd.Be-elfexecutable";

std::vector<uint8_t> pattern(size_t size, uint8_t seed)
{
    std::vector<uint8_t> v(size);
    for (size_t i = 0; i < size; ++i)
        v[i] = static_cast<uint8_t>(seed + i * 7);
    return v;
}

struct SkinSizes {
    size_t kick = 4728, big = 1764, small = 1592, background = 84320;
};

std::vector<ResourceItem> skinItems(SkinSizes s = {}, uint8_t seed = 1)
{
    return {
        {kRawt, 131, "switch_random.bmp", pattern(s.kick, seed)},
        {kRawt, 130, "slider_knob_vert_b.bmp", pattern(s.big, static_cast<uint8_t>(seed + 1))},
        {kRawt, 129, "slider_knob_vert_s.bmp", pattern(s.small, static_cast<uint8_t>(seed + 2))},
        {kRawt, 128, "backgrnd.bmp", pattern(s.background, static_cast<uint8_t>(seed + 3))},
        {kMims, 2, "BEOS:TYPE", std::vector<uint8_t>(std::begin(kMime), std::end(kMime))},
    };
}

std::vector<uint8_t> build(const std::vector<ResourceItem>& items)
{
    ResourceWriter writer;
    for (const ResourceItem& item : items)
        writer.add(item);
    return writer.build().value();
}

uint32_t word(const std::vector<uint8_t>& bytes, size_t at)
{
    return rl::readLe32(&bytes[at]);
}

bool parses(const std::vector<uint8_t>& bytes, size_t offset = 0)
{
    ResourceReader reader;
    return reader.parse(bytes, offset);
}

std::vector<uint8_t> readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A private copy of a real ELF executable, removed afterwards.
class ElfCopy {
public:
    ElfCopy()
    {
        char name[] = "/tmp/wobrix-resources-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0)
            close(fd);
        path_ = name;
        image_ = readAll("/bin/true");
        writeAll(path_, image_);
    }
    ~ElfCopy() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }
    const std::vector<uint8_t>& image() const { return image_; }
    void append(const std::vector<uint8_t>& bytes) const
    {
        std::vector<uint8_t> all = image_;
        all.insert(all.end(), bytes.begin(), bytes.end());
        writeAll(path_, all);
    }

private:
    std::string path_;
    std::vector<uint8_t> image_;
};

std::string loadText(const BResources& res, uint32_t type, int32_t id)
{
    size_t size = 0;
    const void* data = res.LoadResource(type, id, &size);
    return data == nullptr ? std::string("<none>")
                           : std::string(static_cast<const char*>(data), size);
}

} // namespace

TEST(ResourceLayout, SkinContainerHasTheFixedOffsets)
{
    const std::vector<uint8_t> c = build(skinItems());
    EXPECT_EQ(c.size(), 0x170C3u + 169u);
    EXPECT_EQ(word(c, 0), rl::kMagic);
    EXPECT_EQ(word(c, 4), 5u);
    EXPECT_EQ(word(c, 8), 68u);
    EXPECT_EQ(word(c, 12), 0x644u);
    for (size_t at = 16; at < 68; at += 4)
        EXPECT_EQ(word(c, at), 0u) << at;

    const size_t section = 68;
    const uint32_t header[] = {68, 1536, 1001, 0x644, 360, 1001, 0, 0xFFFFFFFF, 1001};
    for (size_t i = 0; i < std::size(header); ++i)
        EXPECT_EQ(word(c, section + 4 * i), header[i]) << i;
    EXPECT_EQ(word(c, section + 4 * 29), 1001u);
    EXPECT_EQ(word(c, section + 4 * 30), 0x170C3u);
    EXPECT_EQ(word(c, section + 4 * 31), 169u);
    EXPECT_EQ(word(c, section + 4 * 32), 1001u);

    const size_t entries = section + 132;
    const uint32_t expected[][2] = {
        {0x7AC, 4728}, {0x1A24, 1764}, {0x2108, 1592}, {0x2740, 84320}, {0x170A0, 35}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(word(c, entries + 12 * i), expected[i][0]) << i;
        EXPECT_EQ(word(c, entries + 12 * i + 4), expected[i][1]) << i;
        EXPECT_EQ(word(c, entries + 12 * i + 8), 0u) << i;
    }
    for (size_t i = 5; i < 117; ++i) {
        EXPECT_EQ(word(c, entries + 12 * i), 0u);
        EXPECT_EQ(word(c, entries + 12 * i + 4), 0xFFFFFFFFu);
        EXPECT_EQ(word(c, entries + 12 * i + 8), 1001u);
    }
    for (size_t at = 0x644; at < 0x7AC; at += 12)
        EXPECT_EQ(word(c, at) ^ word(c, at + 4) ^ word(c, at + 8), 0u ^ 0xFFFFFFFFu ^ 1001u);
    EXPECT_EQ(word(c, c.size() - 4), 0u);
}

TEST(ResourceLayout, ChecksumDependsOnNamesAndIdsOnly)
{
    const std::vector<uint8_t> skin = build(skinItems());
    EXPECT_EQ(word(skin, skin.size() - 8), kSkinChecksum);
    EXPECT_EQ(rl::infoChecksum(&skin[0x170C3], 161), kSkinChecksum);

    const std::vector<uint8_t> other = build(skinItems({10, 20, 30, 40}, 99));
    EXPECT_EQ(word(other, other.size() - 8), kSkinChecksum);

    std::vector<ResourceItem> renamed = skinItems();
    renamed[3].name = "backgrne.bmp";
    const std::vector<uint8_t> r = build(renamed);
    EXPECT_NE(word(r, r.size() - 8), kSkinChecksum);
}

TEST(ResourceReader, FindsEveryResourceByTypeAndId)
{
    const std::vector<ResourceItem> items = skinItems();
    std::vector<uint8_t> file(333, 0x5A);
    const std::vector<uint8_t> c = build(items);
    file.insert(file.end(), c.begin(), c.end());

    ResourceReader reader;
    ASSERT_TRUE(reader.parse(file, 333));
    ASSERT_EQ(reader.entries().size(), items.size());
    for (const ResourceItem& item : items) {
        const ResourceReader::Entry* e = reader.find(item.type, item.id);
        ASSERT_NE(e, nullptr) << item.name;
        EXPECT_EQ(e->name, item.name);
        ASSERT_EQ(e->size, item.data.size());
        EXPECT_EQ(0, std::memcmp(&file[e->offset], item.data.data(), e->size)) << item.name;
    }
    EXPECT_EQ(reader.find(kRawt, 127), nullptr);
    EXPECT_EQ(reader.find(kMims, 128), nullptr);
    EXPECT_FALSE(reader.parse(file, 332));
}

TEST(ResourceReader, HandlesManyResourcesAndEmptyData)
{
    std::vector<ResourceItem> items;
    for (int32_t id = 0; id < 150; ++id)
        items.push_back({id % 2 ? kRawt : kMims, id, "r" + std::to_string(id),
                         pattern(static_cast<size_t>(id % 5), static_cast<uint8_t>(id))});
    const std::vector<uint8_t> c = build(items);
    ResourceReader reader;
    ASSERT_TRUE(reader.parse(c, 0));
    for (const ResourceItem& item : items) {
        const ResourceReader::Entry* e = reader.find(item.type, item.id);
        ASSERT_NE(e, nullptr);
        ASSERT_EQ(e->size, item.data.size());
        EXPECT_TRUE(std::equal(item.data.begin(), item.data.end(),
                               c.begin() + static_cast<long>(e->offset)));
    }
}

class DamagedContainer : public ::testing::Test {
protected:
    const std::vector<uint8_t> good = build(skinItems());
    static constexpr size_t kInfo = 0x170C3;
    static constexpr size_t kEntries = 68 + 132;

    // Rewrites the stored checksum so that only the damage under test remains.
    static void reseal(std::vector<uint8_t>& c)
    {
        const size_t end = c.size() - 8;
        rl::writeLe32(&c[end], rl::infoChecksum(&c[kInfo], end - kInfo));
    }
};

TEST_F(DamagedContainer, TheUndamagedOneParses)
{
    EXPECT_TRUE(parses(good));
}

TEST_F(DamagedContainer, TruncatedAnywhereIsRefused)
{
    const size_t cuts[] = {0,     3,         67,         68 + 100,        0x644,
                           0x800, kInfo - 1, kInfo + 10, good.size() - 8, good.size() - 1};
    for (size_t cut : cuts) {
        const std::vector<uint8_t> c(good.begin(), good.begin() + static_cast<long>(cut));
        EXPECT_FALSE(parses(c)) << "cut at " << cut;
    }
}

TEST_F(DamagedContainer, IndexEntryOutsideTheFileIsRefused)
{
    std::vector<uint8_t> c = good;
    rl::writeLe32(&c[kEntries + 12 * 3], static_cast<uint32_t>(c.size() - 100)); // offset
    EXPECT_FALSE(parses(c));

    c = good;
    rl::writeLe32(&c[kEntries + 12 * 4 + 4], 0xFFFFFFF0u); // size wrapping past 2^32
    EXPECT_FALSE(parses(c));

    c = good;
    rl::writeLe32(&c[kEntries + 12 * 4 + 4], static_cast<uint32_t>(c.size() - 0x170A0 + 1));
    EXPECT_FALSE(parses(c));

    c = good; // the info table names an index entry the section lacks
    rl::writeLe32(&c[kInfo + 4 + 4], 118);
    reseal(c);
    EXPECT_FALSE(parses(c));
}

TEST_F(DamagedContainer, SectionsOutsideTheFileAreRefused)
{
    std::vector<uint8_t> c = good;
    rl::writeLe32(&c[68 + 4 * 30], static_cast<uint32_t>(c.size() - 100)); // info offset
    EXPECT_FALSE(parses(c));
    c = good;
    rl::writeLe32(&c[8], static_cast<uint32_t>(c.size())); // index section offset
    EXPECT_FALSE(parses(c));
    c = good;
    rl::writeLe32(&c[68 + 4], 0xFFFFFFFFu); // index section size
    EXPECT_FALSE(parses(c));
}

TEST_F(DamagedContainer, BadChecksumIsRefused)
{
    std::vector<uint8_t> c = good;
    c[c.size() - 8] ^= 1;
    EXPECT_FALSE(parses(c));
    c = good;
    c[kInfo + 20] ^= 0x20; // a letter of the first name
    EXPECT_FALSE(parses(c));
}

TEST_F(DamagedContainer, MalformedInfoTableIsRefusedEvenWhenSealed)
{
    std::vector<uint8_t> c = good;
    c[kInfo + 4 + 10 + 17] = 'x'; // the first name loses its NUL
    reseal(c);
    EXPECT_FALSE(parses(c));

    c = good;
    rl::writeLe32(&c[kInfo + 4 + 28], 131); // a second 'RAWT' 131
    reseal(c);
    EXPECT_FALSE(parses(c));

    c = good;
    rl::writeLe32(&c[4], 4); // header count disagrees with the table
    EXPECT_FALSE(parses(c));
}

TEST_F(DamagedContainer, WrongMagicIsRefused)
{
    std::vector<uint8_t> c = good;
    c[0] ^= 0xFF;
    EXPECT_FALSE(parses(c));
}

TEST(ElfImage, EndOfARealExecutableIsItsSize)
{
    ElfCopy elf;
    const int fd = open(elf.path().c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    const std::optional<uint64_t> end = ElfImage::imageEnd(fd);
    close(fd);
    ASSERT_TRUE(end.has_value());
    EXPECT_EQ(*end, elf.image().size());
}

TEST(ElfImage, NonElfAndDamagedHeadersHaveNoEnd)
{
    ElfCopy elf;
    std::vector<uint8_t> bytes = elf.image();
    bytes[4] = 3; // no such ELF class
    writeAll(elf.path(), bytes);
    int fd = open(elf.path().c_str(), O_RDONLY);
    EXPECT_FALSE(ElfImage::imageEnd(fd).has_value());
    close(fd);

    bytes = std::vector<uint8_t>(elf.image().begin(), elf.image().begin() + 2000); // tables cut off
    writeAll(elf.path(), bytes);
    fd = open(elf.path().c_str(), O_RDONLY);
    EXPECT_FALSE(ElfImage::imageEnd(fd).has_value());
    close(fd);
}

// A hand-made ELF64 whose furthest bytes are a segment's, past the section
// data and the header tables, with a .bss-like section claiming far more.
TEST(ElfImage, EndIsTheFurthestSegmentOrSectionThatOccupiesTheFile)
{
    std::vector<uint8_t> f(420, 0);
    const uint8_t ident[] = {0x7F, 'E', 'L', 'F', 2, 1, 1};
    std::copy(std::begin(ident), std::end(ident), f.begin());
    const auto put = [&f](size_t at, uint64_t v, size_t bytes) {
        for (size_t i = 0; i < bytes; ++i)
            f[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put(32, 356, 8); // program headers
    put(40, 64, 8);  // section headers
    put(54, 56, 2);
    put(56, 1, 2);
    put(58, 64, 2);
    put(60, 3, 2);
    put(64 + 64 + 4, 1, 4); // section 1: file data up to 356
    put(64 + 64 + 24, 256, 8);
    put(64 + 64 + 32, 100, 8);
    put(64 + 128 + 4, 8, 4); // section 2 occupies no file space
    put(64 + 128 + 24, 300, 8);
    put(64 + 128 + 32, 100000, 8);
    put(356 + 8, 0, 8); // the segment covers the whole file
    put(356 + 32, 420, 8);

    ElfCopy elf;
    writeAll(elf.path(), f);
    int fd = open(elf.path().c_str(), O_RDONLY);
    EXPECT_EQ(ElfImage::imageEnd(fd), std::optional<uint64_t>(420));
    EXPECT_FALSE(ElfImage::findResourceContainer(fd).has_value());
    close(fd);

    const std::vector<uint8_t> c = build(skinItems());
    f.insert(f.end(), c.begin(), c.end());
    writeAll(elf.path(), f);
    fd = open(elf.path().c_str(), O_RDONLY);
    EXPECT_EQ(ElfImage::findResourceContainer(fd), std::optional<uint64_t>(420));
    close(fd);
}

TEST(BResources, ReadsTheContainerAppendedToAnElfFile)
{
    ElfCopy elf;
    elf.append(build(skinItems()));
    BFile file(elf.path().c_str(), B_READ_ONLY);
    ASSERT_EQ(file.InitCheck(), B_OK);
    BResources res(&file, false);
    file.Unset(); // the reader keeps what it needs
    ASSERT_EQ(res.InitCheck(), B_OK);
    EXPECT_EQ(res.PreloadResourceType(0), B_OK);

    for (const ResourceItem& item : skinItems()) {
        size_t size = 0;
        const void* data = res.LoadResource(item.type, item.id, &size);
        ASSERT_NE(data, nullptr) << item.name;
        ASSERT_EQ(size, item.data.size());
        EXPECT_EQ(0, std::memcmp(data, item.data.data(), size));
    }
    EXPECT_EQ(loadText(res, kMims, 2), std::string(kMime, sizeof kMime));
    EXPECT_FALSE(res.HasResource(kRawt, 127));
    EXPECT_EQ(res.LoadResource(kRawt, 127, nullptr), nullptr);
}

TEST(BResources, AFileWithoutAGoodContainerHasNoResources)
{
    ElfCopy elf;
    const auto refuses = [&elf](const char* what) {
        BFile file(elf.path().c_str(), B_READ_ONLY);
        BResources res(&file);
        EXPECT_NE(res.InitCheck(), B_OK) << what;
        EXPECT_EQ(res.LoadResource(kRawt, 128, nullptr), nullptr) << what;
    };
    refuses("bare executable");

    std::vector<uint8_t> c = build(skinItems());
    c.pop_back();
    elf.append(c);
    refuses("truncated container");

    std::vector<uint8_t> junk(64, 0);
    junk.insert(junk.end(), c.begin(), c.end());
    elf.append(junk);
    refuses("container not right after the image");

    BFile missing("/nonexistent/wobrix", B_READ_ONLY);
    EXPECT_NE(missing.InitCheck(), B_OK);
    BResources none(&missing);
    EXPECT_NE(none.InitCheck(), B_OK);
}

TEST(BResources, APlainResourceFileIsReadFromItsStart)
{
    ElfCopy elf;
    writeAll(elf.path(), build(skinItems()));
    BFile file(elf.path().c_str(), B_READ_ONLY);
    BResources res(&file);
    ASSERT_EQ(res.InitCheck(), B_OK);
    EXPECT_TRUE(res.HasResource(kRawt, 128));
}

class AppendResourcesTool : public ::testing::Test {
protected:
    int run(const std::string& args)
    {
        const std::string command =
            std::string(WOBRIX_APPEND_RESOURCES) + " " + args + " 2>/dev/null";
        return std::system(command.c_str());
    }
    std::string resource(const char* name, const std::string& text)
    {
        const std::string path = elf.path() + name;
        writeAll(path, std::vector<uint8_t>(text.begin(), text.end()));
        made.push_back(path);
        return path;
    }
    void TearDown() override
    {
        for (const std::string& p : made)
            std::remove(p.c_str());
    }
    ElfCopy elf;
    std::vector<std::string> made;
};

TEST_F(AppendResourcesTool, AppendsReplacesAndAddsTheTypeAttribute)
{
    const std::string a = resource(".a", "first picture");
    const std::string b = resource(".b", "second");
    ASSERT_EQ(run(elf.path() + " RAWT:128:backgrnd.bmp:" + a + " RAWT:129:odd:name.bmp:" + b), 0);
    {
        BFile file(elf.path().c_str(), B_READ_ONLY);
        BResources res(&file);
        ASSERT_EQ(res.InitCheck(), B_OK);
        EXPECT_EQ(loadText(res, kRawt, 128), "first picture");
        EXPECT_EQ(loadText(res, kRawt, 129), "second");
        EXPECT_EQ(loadText(res, kMims, 2), std::string(kMime, sizeof kMime));
    }
    const size_t firstSize = readAll(elf.path()).size();

    ASSERT_EQ(run(elf.path() + " RAWT:128:backgrnd.bmp:" + b), 0);
    const std::vector<uint8_t> after = readAll(elf.path());
    EXPECT_LT(after.size(), firstSize);
    EXPECT_TRUE(std::equal(elf.image().begin(), elf.image().end(), after.begin()));
    BFile file(elf.path().c_str(), B_READ_ONLY);
    BResources res(&file);
    EXPECT_EQ(loadText(res, kRawt, 128), "second");
    EXPECT_FALSE(res.HasResource(kRawt, 129));
}

TEST_F(AppendResourcesTool, RefusesBadArgumentsAndForeignTrailers)
{
    const std::string a = resource(".a", "x");
    EXPECT_NE(run(elf.path()), 0);
    EXPECT_NE(run(elf.path() + " RAW:128:n:" + a), 0);
    EXPECT_NE(run(elf.path() + " RAWT:12x:n:" + a), 0);
    EXPECT_NE(run(elf.path() + " RAWT:128:n:/nonexistent/file"), 0);
    EXPECT_NE(run(a + " RAWT:128:n:" + a), 0); // not an ELF file

    elf.append(std::vector<uint8_t>(16, 0xEE));
    EXPECT_NE(run(elf.path() + " RAWT:128:n:" + a), 0);
    EXPECT_EQ(readAll(elf.path()).size(), elf.image().size() + 16);
}
