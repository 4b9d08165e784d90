// The skin as the add-ons carry it: the container after the ELF image, the
// four BMP files in it (decoded here by an independent strict reader), and
// the run-length encoder and palette reduction that made them.
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/driver/addon/AddOn.h"
#include "platform/api/BFile.h"
#include "platform/api/BResources.h"
#include "platform/resources/ElfImage.h"
#include "platform/resources/ResourceLayout.h"
#include "tests/support/HostCalls.h"
#include "tools/PaletteQuantiser.h"
#include "tools/Rle8Bmp.h"

namespace rl = resource_layout;

namespace {

constexpr uint32_t kRawt = 0x52415754;
constexpr uint32_t kWhite = 0xFFFFFF;
const char* const kAddOns[] = {WOBRIX_ADDON, WOBRIX_HOSTS_ADDON};

struct Bmp {
    int width = 0, height = 0;
    uint32_t fileSize = 0, pixelOffset = 0, imageSize = 0, compression = 0, coloursUsed = 0;
    uint16_t planes = 0, bitsPerPixel = 0;
    int32_t ppmX = 0, ppmY = 0;
    std::vector<uint32_t> palette; // 0xRRGGBB
    std::vector<uint8_t> pixels;   // top-down
    size_t end = 0;                // offset just past the end-of-bitmap code
    int oddAbsoluteRuns = 0;

    uint32_t rgb(int x, int y) const { return palette[pixels[static_cast<size_t>(y * width + x)]]; }
};

// Strict on purpose: full rows before every end-of-line, no deltas, zero
// padding after odd absolute runs, indices inside the palette.
std::optional<Bmp> decode(const uint8_t* p, size_t n)
{
    if (n < 54 || p[0] != 'B' || p[1] != 'M' || rl::readLe32(p + 14) != 40)
        return std::nullopt;
    Bmp b;
    b.fileSize = rl::readLe32(p + 2);
    b.pixelOffset = rl::readLe32(p + 10);
    b.width = static_cast<int32_t>(rl::readLe32(p + 18));
    b.height = static_cast<int32_t>(rl::readLe32(p + 22));
    b.planes = rl::readLe16(p + 26);
    b.bitsPerPixel = rl::readLe16(p + 28);
    b.compression = rl::readLe32(p + 30);
    b.imageSize = rl::readLe32(p + 34);
    b.ppmX = static_cast<int32_t>(rl::readLe32(p + 38));
    b.ppmY = static_cast<int32_t>(rl::readLe32(p + 42));
    b.coloursUsed = rl::readLe32(p + 46);
    if (b.pixelOffset > n || b.pixelOffset < 54 || (b.pixelOffset - 54) % 4 != 0 || b.width <= 0 ||
        b.height <= 0)
        return std::nullopt;
    for (size_t at = 54; at < b.pixelOffset; at += 4)
        b.palette.push_back(uint32_t{p[at + 2]} << 16 | uint32_t{p[at + 1]} << 8 | p[at]);
    b.pixels.assign(static_cast<size_t>(b.width * b.height), 0);
    size_t at = b.pixelOffset;
    int x = 0, y = b.height - 1;
    const auto put = [&](uint8_t index) {
        if (x >= b.width || index >= b.palette.size())
            return false;
        b.pixels[static_cast<size_t>(y * b.width + x++)] = index;
        return true;
    };
    for (;;) {
        if (at + 2 > n)
            return std::nullopt;
        const uint8_t count = p[at], value = p[at + 1];
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                if (!put(value))
                    return std::nullopt;
        } else if (value == 0 || value == 1) {
            if (x != b.width)
                return std::nullopt;
            if (value == 1)
                break;
            if (--y < 0)
                return std::nullopt;
            x = 0;
        } else if (value == 2) {
            return std::nullopt;
        } else {
            const size_t padded = value + (value & 1u);
            if (at + padded > n || ((value & 1u) != 0 && p[at + value] != 0))
                return std::nullopt;
            for (int i = 0; i < value; ++i)
                if (!put(p[at + static_cast<size_t>(i)]))
                    return std::nullopt;
            b.oddAbsoluteRuns += value & 1;
            at += padded;
        }
    }
    if (y != 0)
        return std::nullopt;
    b.end = at;
    return b;
}

struct Container {
    std::vector<uint8_t> bytes;
    BResources resources;
};

std::vector<uint8_t> containerBytes(const char* path)
{
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    std::vector<uint8_t> bytes;
    if (fd < 0)
        return bytes;
    const std::optional<uint64_t> end = ElfImage::imageEnd(fd);
    const std::optional<uint64_t> start = ElfImage::findResourceContainer(fd);
    if (end && start && *end == *start) {
        const off_t size = lseek(fd, 0, SEEK_END);
        bytes.resize(static_cast<size_t>(size - static_cast<off_t>(*start)));
        if (pread(fd, bytes.data(), bytes.size(), static_cast<off_t>(*start)) !=
            static_cast<ssize_t>(bytes.size()))
            bytes.clear();
    }
    close(fd);
    return bytes;
}

std::optional<Bmp> loadPicture(const BResources& r, int32_t id, size_t* size = nullptr)
{
    size_t n = 0;
    const auto* data = static_cast<const uint8_t*>(r.LoadResource(kRawt, id, &n));
    if (size != nullptr)
        *size = n;
    return data == nullptr ? std::nullopt : decode(data, n);
}

TEST(SkinAddOn, BothAddOnsLoadAndAnswerWithTheirSkinAttached)
{
    for (const char* path : kAddOns) {
        AddOn addOn;
        std::string error;
        ASSERT_TRUE(addOn.load(path, error)) << error;
        HostRecorder host;
        AEffect* e = openEffect(host, addOn.entry());
        ASSERT_NE(e, nullptr) << path;
        EXPECT_EQ(e->magic, kEffectMagic);
        EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0), 1);
    }
}

TEST(SkinAddOn, ContainerSitsAfterTheImageWithTheSkinEntries)
{
    std::vector<uint8_t> first;
    for (const char* path : kAddOns) {
        SCOPED_TRACE(path);
        const std::vector<uint8_t> c = containerBytes(path);
        ASSERT_GT(c.size(), rl::kHeaderSize);
        ResourceReader reader;
        ASSERT_TRUE(reader.parse(c, 0));
        const std::vector<std::pair<int32_t, std::string>> expected = {
            {131, "switch_random.bmp"},
            {130, "slider_knob_vert_b.bmp"},
            {129, "slider_knob_vert_s.bmp"},
            {128, "backgrnd.bmp"},
            {2, "BEOS:TYPE"}};
        ASSERT_EQ(reader.entries().size(), expected.size());
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(reader.entries()[i].type, kRawt);
            EXPECT_EQ(reader.entries()[i].id, expected[i].first);
            EXPECT_EQ(reader.entries()[i].name, expected[i].second);
        }
        EXPECT_EQ(reader.find(kRawt, 127), nullptr);
        // The info table ends the file: its checksum, then a zero word.
        EXPECT_EQ(rl::readLe32(c.data() + c.size() - 8), 0x58CCAA1Du);
        EXPECT_EQ(rl::readLe32(c.data() + c.size() - 4), 0u);
        const uint8_t* section = c.data() + rl::readLe32(c.data() + 8);
        const uint32_t infoOffset = rl::readLe32(section + 4 * rl::kSectionInfoOffsetWord);
        const uint32_t infoSize = rl::readLe32(section + 4 * rl::kSectionInfoSizeWord);
        EXPECT_EQ(infoOffset + infoSize, c.size());
        EXPECT_EQ(rl::infoChecksum(c.data() + infoOffset, infoSize - 8), 0x58CCAA1Du);
        if (first.empty())
            first = c;
        EXPECT_EQ(c, first); // both add-ons carry the same skin
    }
}

TEST(SkinPictures, HeadersGiveTheSizesAndPalettes)
{
    BFile file(WOBRIX_ADDON, B_READ_ONLY);
    BResources r(&file);
    ASSERT_EQ(r.InitCheck(), B_OK);
    struct Want {
        int32_t id;
        int width, height;
        size_t entries;
        uint32_t coloursUsed;
        size_t trailer;
    };
    for (const Want& w : {Want{128, 340, 262, 256, 0, 0}, Want{129, 16, 28, 252, 252, 2},
                          Want{130, 22, 28, 256, 0, 0}, Want{131, 44, 76, 256, 0, 0}}) {
        SCOPED_TRACE(w.id);
        size_t size = 0;
        const std::optional<Bmp> b = loadPicture(r, w.id, &size);
        ASSERT_TRUE(b.has_value());
        EXPECT_EQ(b->width, w.width);
        EXPECT_EQ(b->height, w.height);
        EXPECT_EQ(b->planes, 1);
        EXPECT_EQ(b->bitsPerPixel, 8);
        EXPECT_EQ(b->compression, 1u);
        EXPECT_EQ(b->ppmX, 2834);
        EXPECT_EQ(b->ppmY, 2834);
        EXPECT_EQ(b->palette.size(), w.entries);
        EXPECT_EQ(b->pixelOffset, 54 + 4 * w.entries);
        EXPECT_EQ(b->coloursUsed, w.coloursUsed);
        EXPECT_EQ(b->palette[0], 0x000000u);
        EXPECT_EQ(b->palette[1], kWhite);
        EXPECT_EQ(b->fileSize, size);
        EXPECT_EQ(b->imageSize, b->end - b->pixelOffset);
        EXPECT_EQ(size - b->end, w.trailer);
    }
    EXPECT_EQ(loadPicture(r, 127), std::nullopt);
}

TEST(SkinPictures, PartsHaveNoWhiteAndTheKickMeetsItsWell)
{
    BFile file(WOBRIX_ADDON, B_READ_ONLY);
    BResources r(&file);
    const std::optional<Bmp> background = loadPicture(r, 128);
    ASSERT_TRUE(background.has_value());
    for (int32_t id : {129, 130, 131}) {
        const std::optional<Bmp> b = loadPicture(r, id);
        ASSERT_TRUE(b.has_value());
        for (int y = 0; y < b->height; ++y)
            for (int x = 0; x < b->width; ++x)
                ASSERT_NE(b->rgb(x, y), kWhite) << id << " " << x << "," << y;
    }
    // The button is drawn opaque over the panel at (285, 13): both of its
    // pictures must agree with the panel along their edges.
    const std::optional<Bmp> kick = loadPicture(r, 131);
    ASSERT_TRUE(kick.has_value());
    bool halvesDiffer = false;
    for (int half = 0; half < 2; ++half)
        for (int y = 0; y < 38; ++y)
            for (int x = 0; x < 44; ++x) {
                halvesDiffer |= kick->rgb(x, y) != kick->rgb(x, y + 38);
                if (x == 0 || x == 43 || y == 0 || y == 37) {
                    EXPECT_EQ(kick->rgb(x, y + 38 * half), background->rgb(285 + x, 13 + y))
                        << x << "," << y;
                }
            }
    EXPECT_TRUE(halvesDiffer);
    // The value boxes are black where the displays draw.
    for (const int left : {52, 144, 232})
        for (int y = 197; y < 210; ++y)
            for (int x = left; x < left + 25; ++x)
                EXPECT_EQ(background->rgb(x, y), 0u);
}

TEST(Rle8, WorkedRows)
{
    const auto row = [](std::vector<uint8_t> pixels) {
        std::vector<uint8_t> out;
        rle8::encodeRow(pixels.data(), static_cast<int>(pixels.size()), out);
        return out;
    };
    // A run, an odd absolute run with its pad byte, a run.
    EXPECT_EQ(row({5, 5, 5, 1, 2, 3, 7, 7}), (std::vector<uint8_t>{3, 5, 0, 3, 1, 2, 3, 0, 2, 7}));
    // Two singles cannot be absolute (counts 1 and 2 are escapes).
    EXPECT_EQ(row({1, 2}), (std::vector<uint8_t>{1, 1, 1, 2}));
    EXPECT_EQ(row({4, 5, 6, 7}), (std::vector<uint8_t>{0, 4, 4, 5, 6, 7}));
    EXPECT_EQ(row(std::vector<uint8_t>(300, 9)), (std::vector<uint8_t>{255, 9, 45, 9}));
}

TEST(Rle8, RoundTripsRandomImages)
{
    std::mt19937 rng(20240611);
    int oddAbsolute = 0;
    for (int n = 0; n < 300; ++n) {
        IndexedImage image;
        image.width = std::uniform_int_distribution<int>(1, 600)(rng);
        image.height = std::uniform_int_distribution<int>(1, 6)(rng);
        image.palette.assign(256, 0);
        const int style = n % 3; // runs, noise, or both mixed
        while (image.pixels.size() < static_cast<size_t>(image.width * image.height)) {
            const bool run = style == 0 || (style == 2 && rng() % 2 == 0);
            const int length = run ? std::uniform_int_distribution<int>(1, 400)(rng) : 1;
            const auto value = static_cast<uint8_t>(rng() % (style == 1 ? 4 : 256));
            image.pixels.insert(image.pixels.end(), static_cast<size_t>(length), value);
        }
        image.pixels.resize(static_cast<size_t>(image.width * image.height));
        const std::vector<uint8_t> file = rle8::writeBmp(image);
        const std::optional<Bmp> b = decode(file.data(), file.size());
        ASSERT_TRUE(b.has_value()) << n;
        ASSERT_EQ(b->pixels, image.pixels) << n;
        ASSERT_EQ(b->end, file.size());
        oddAbsolute += b->oddAbsoluteRuns;
    }
    EXPECT_GT(oddAbsolute, 0);
}

TEST(Quantiser, KeepsReservedEntriesAndAvoidsWhiteWhenAsked)
{
    std::vector<uint32_t> rgb;
    for (uint32_t i = 0; i < 4096; ++i)
        rgb.push_back(i * 0x1003u % 0x1000000u);
    rgb.push_back(kWhite);
    rgb.push_back(0xFEFFFF);
    rgb.push_back(0x123456);
    const int w = static_cast<int>(rgb.size());
    const IndexedImage a = quantise(rgb, w, 1, {252, {0x123456}, false});
    ASSERT_EQ(a.palette.size(), 252u);
    EXPECT_EQ(a.palette[0], 0u);
    EXPECT_EQ(a.palette[1], kWhite);
    EXPECT_EQ(a.palette[2], 0x123456u);
    EXPECT_EQ(a.pixels.back(), 2);
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        EXPECT_NE(a.pixels[i], 1) << i;
        EXPECT_NE(a.palette[a.pixels[i]], kWhite) << i;
    }
    EXPECT_EQ(quantise(rgb, w, 1, {252, {0x123456}, false}).pixels, a.pixels);

    // Few colours come back exactly, white included when allowed.
    const std::vector<uint32_t> few = {0x102030, kWhite, 0x000000, 0x102030, 0xA0B0C0};
    const IndexedImage b = quantise(few, 5, 1, {});
    for (size_t i = 0; i < few.size(); ++i)
        EXPECT_EQ(b.palette[b.pixels[i]], few[i]);
}

} // namespace
