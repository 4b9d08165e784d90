// Bitmaps: their memory, DrawBitmap's offsets, partial sources and the
// transparent marker; decoding BMP files (8-bit run-length compression
// included) and PNG from memory; the memory stream.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/api/DataIO.h"
#include "platform/api/TranslationUtils.h"
#include "tests/support/Canvas.h"

namespace {

// Pixel (x, y) of the source: red 10x, green 10y, blue 7.
std::unique_ptr<BBitmap> gradient(int width, int height)
{
    auto b = std::make_unique<BBitmap>(BRect(0, 0, width - 1, height - 1), B_RGB32);
    auto* p = static_cast<uint8_t*>(b->Bits());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* q = p + y * b->BytesPerRow() + x * 4;
            q[0] = 7;
            q[1] = static_cast<uint8_t>(10 * y);
            q[2] = static_cast<uint8_t>(10 * x);
            q[3] = 255;
        }
    }
    return b;
}

rgb_color gradientAt(int x, int y)
{
    return {uint8_t(10 * x), uint8_t(10 * y), 7, 255};
}

void put16(std::vector<uint8_t>& v, uint32_t x)
{
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}

void put32(std::vector<uint8_t>& v, uint32_t x)
{
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

// A BMP file: 40-byte header, palette entries as 0xRRGGBB, pixel data.
std::vector<uint8_t> bmpFile(int width, int height, int bits, uint32_t compression,
                             const std::vector<uint32_t>& palette, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> v{'B', 'M'};
    const uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(palette.size());
    put32(v, offset + static_cast<uint32_t>(data.size()));
    put32(v, 0);
    put32(v, offset);
    put32(v, 40);
    put32(v, static_cast<uint32_t>(width));
    put32(v, static_cast<uint32_t>(height));
    put16(v, 1);
    put16(v, static_cast<uint32_t>(bits));
    put32(v, compression);
    put32(v, static_cast<uint32_t>(data.size()));
    put32(v, 2835);
    put32(v, 2835);
    put32(v, static_cast<uint32_t>(palette.size()));
    put32(v, 0);
    for (uint32_t c : palette)
        put32(v, c); // stored blue, green, red, 0
    v.insert(v.end(), data.begin(), data.end());
    return v;
}

// 4 x 3, bottom row first: "0001" as a run and a run, "1010" as literal
// pixels, "2222" as one run, then the end-of-bitmap code.
const std::vector<uint8_t> kRle8Data = {3, 0, 1, 1, 0, 0,       // row 2: 0 0 0 1
                                        0, 4, 1, 0, 1, 0, 0, 0, // row 1: 1 0 1 0
                                        4, 2, 0, 0,             // row 0: 2 2 2 2
                                        0, 1};                  // end of bitmap
const std::vector<uint32_t> kPalette = {0x000000, 0xFFFFFF, 0x123456};

std::unique_ptr<BBitmap> decode(const std::vector<uint8_t>& file)
{
    BMemoryIO stream(file.data(), file.size());
    return std::unique_ptr<BBitmap>(BTranslationUtils::GetBitmap(&stream));
}

uint32_t wordAt(const BBitmap& b, int x, int y)
{
    uint32_t w;
    std::memcpy(&w, static_cast<const uint8_t*>(b.Bits()) + y * b.BytesPerRow() + x * 4, 4);
    return w;
}

} // namespace

TEST(PlatformBitmap, MemoryIsWhite32BitPixels)
{
    BBitmap b(BRect(0, 0, 9, 4), B_RGB16, true);
    ASSERT_EQ(b.InitCheck(), B_OK);
    EXPECT_EQ(b.BytesPerRow(), 40);
    EXPECT_EQ(b.BitsLength(), 200);
    EXPECT_EQ(b.ColorSpace(), B_RGB32);
    EXPECT_EQ(b.Bounds(), BRect(0, 0, 9, 4));
    const auto* p = static_cast<const uint8_t*>(b.Bits());
    for (int i = 0; i < b.BitsLength(); ++i)
        ASSERT_EQ(p[i], 0xFF);
    EXPECT_EQ(BBitmap(BRect(0, 0, 1, 1), B_RGBA32).ColorSpace(), B_RGBA32);

    BBitmap bad(BRect(0, 0, -1, 3), B_RGB32);
    EXPECT_NE(bad.InitCheck(), B_OK);
    EXPECT_EQ(bad.Bits(), nullptr);
    EXPECT_EQ(bad.BitsLength(), 0);
    EXPECT_NE(BBitmap(BRect(0, 0, 3, 3), B_NO_COLOR_SPACE).InitCheck(), B_OK);
    EXPECT_NE(BBitmap(BRect(0, 0, 1e6f, 1e6f), B_RGB32).InitCheck(), B_OK);
}

TEST(PlatformBitmap, ViewsBelongToTheBitmap)
{
    static int alive = 0;
    struct Counted : BView {
        Counted() : BView(BRect(0, 0, 3, 3), "counted", 0, 0) { ++alive; }
        ~Counted() override { --alive; }
    };
    {
        BBitmap b(BRect(0, 0, 3, 3), B_RGB32, true);
        b.AddChild(new Counted);
        auto* second = new Counted;
        b.AddChild(second);
        EXPECT_EQ(b.CountChildren(), 2);
        EXPECT_TRUE(b.RemoveChild(second));
        EXPECT_FALSE(b.RemoveChild(second));
        delete second;
        EXPECT_EQ(alive, 1);
        EXPECT_EQ(b.ChildAt(0)->LockLooperWithTimeout(0), B_OK);
        b.ChildAt(0)->UnlockLooper();
    }
    EXPECT_EQ(alive, 0);

    // Without acceptsViews the bitmap takes no view.
    BBitmap plain(BRect(0, 0, 3, 3), B_RGB32);
    BView loose(BRect(0, 0, 3, 3), "loose", 0, 0);
    plain.AddChild(&loose);
    EXPECT_EQ(plain.CountChildren(), 0);
    EXPECT_EQ(loose.LockLooperWithTimeout(0), B_BAD_VALUE);
}

TEST(PlatformBitmap, DrawBitmapCopiesAtTheOffsetWithoutScaling)
{
    const auto source = gradient(20, 20);
    Canvas c(40, 40);
    c.view->DrawBitmap(source.get(), BRect(5, 0, 14, 9), BRect(10, 20, 19, 29));
    EXPECT_EQ(c.painted(), rectPixels(10, 20, 19, 29));
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(c.at(10 + x, 20 + y), gradientAt(5 + x, y));
    }

    c.clear();
    c.view->DrawBitmap(source.get(), BPoint(3, 4));
    EXPECT_EQ(c.at(3, 4), gradientAt(0, 0));
    EXPECT_EQ(c.at(22, 23), gradientAt(19, 19));
}

TEST(PlatformBitmap, SourceOutsideTheBitmapCopiesOnlyThePartInside)
{
    const auto source = gradient(20, 20);
    Canvas c(30, 30);
    c.view->DrawBitmap(source.get(), BRect(15, 0, 24, 9), BRect(0, 0, 9, 9));
    EXPECT_EQ(c.painted(), rectPixels(0, 0, 4, 9));
    EXPECT_EQ(c.at(0, 0), gradientAt(15, 0));
    EXPECT_EQ(c.at(4, 9), gradientAt(19, 9));

    c.clear();
    c.view->DrawBitmap(source.get(), BRect(-3, -2, 6, 7), BRect(10, 10, 19, 19));
    EXPECT_EQ(c.painted(), rectPixels(13, 12, 19, 19));
    EXPECT_EQ(c.at(13, 12), gradientAt(0, 0)); // nothing shifts
}

TEST(PlatformBitmap, OverModeSkipsTheTransparentMarker)
{
    auto source = gradient(4, 4);
    auto* p = static_cast<uint8_t*>(source->Bits());
    std::memcpy(p + 1 * source->BytesPerRow() + 2 * 4, &B_TRANSPARENT_32_BIT, 4);
    const uint8_t marker[4] = {0x77, 0x74, 0x77, 0x00};
    EXPECT_EQ(std::memcmp(&B_TRANSPARENT_32_BIT, marker, 4), 0);

    Canvas c(8, 8);
    c.clear({1, 2, 3, 255});
    c.view->SetDrawingMode(B_OP_OVER);
    c.view->DrawBitmap(source.get(), BPoint(0, 0));
    EXPECT_EQ(c.at(2, 1), (rgb_color{1, 2, 3, 255}));
    EXPECT_EQ(c.at(1, 1), gradientAt(1, 1));

    c.view->SetDrawingMode(B_OP_COPY);
    c.view->DrawBitmap(source.get(), BPoint(0, 0));
    EXPECT_EQ(c.word(2, 1), B_TRANSPARENT_32_BIT);
}

TEST(PlatformDecode, RunLengthBmpGivesExactPaletteColoursBottomUp)
{
    for (bool junk : {false, true}) {
        std::vector<uint8_t> data = kRle8Data;
        if (junk)
            data.insert(data.end(), {0xAB, 0xCD}); // after the end code: ignored
        const auto b = decode(bmpFile(4, 3, 8, 1, kPalette, data));
        ASSERT_NE(b, nullptr) << junk;
        EXPECT_EQ(b->Bounds(), BRect(0, 0, 3, 2));
        EXPECT_EQ(b->ColorSpace(), B_RGB32);
        const uint32_t black = 0xFF000000, white = 0xFFFFFFFF, other = 0xFF123456;
        const uint32_t want[3][4] = {{other, other, other, other},
                                     {white, black, white, black},
                                     {black, black, black, white}};
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(wordAt(*b, x, y), want[y][x]) << x << "," << y;
        }
    }
}

TEST(PlatformDecode, RefusesWhatItCannotDecodeWhole)
{
    std::vector<uint8_t> cut = kRle8Data;
    cut.resize(cut.size() - 2); // no end-of-bitmap code
    EXPECT_EQ(decode(bmpFile(4, 3, 8, 1, kPalette, cut)), nullptr);
    cut.resize(7); // inside the literal pixels
    EXPECT_EQ(decode(bmpFile(4, 3, 8, 1, kPalette, cut)), nullptr);

    const std::vector<uint8_t> rows(2 * 8, 0x40); // 2 x 2 at 24 bits: 8 bytes a row
    EXPECT_NE(decode(bmpFile(2, 2, 24, 0, {}, rows)), nullptr);
    std::vector<uint8_t> short24 = bmpFile(2, 2, 24, 0, {}, rows);
    short24.resize(short24.size() - 3);
    EXPECT_EQ(decode(short24), nullptr);

    std::vector<uint8_t> header = bmpFile(4, 3, 8, 1, kPalette, kRle8Data);
    header.resize(30);
    EXPECT_EQ(decode(header), nullptr);
    // Sizes are judged before anything is allocated.
    EXPECT_EQ(decode(bmpFile(100000, 100000, 8, 1, kPalette, kRle8Data)), nullptr);
    EXPECT_EQ(decode(bmpFile(4096, 4096, 8, 1, kPalette, kRle8Data)), nullptr);
    const std::vector<uint8_t> hugePng = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0,
                                          0,    13,  'I', 'H', 'D',  'R',  0,    1,    0, 0,
                                          0,    1,   0,   0,   8,    2,    0,    0,    0};
    EXPECT_EQ(decode(hugePng), nullptr);
    // Only BMP and PNG reach a decoder.
    const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0,   0, 0, ',', 0,
                                      0,   0,   0,   1,   0,   1,   0, 0, 2, 2, 'D', 1, 0, ';'};
    EXPECT_EQ(decode(gif), nullptr);
    EXPECT_EQ(decode({1, 2, 3, 4, 5, 6, 7, 8}), nullptr);
    EXPECT_EQ(decode({}), nullptr);
    EXPECT_EQ(BTranslationUtils::GetBitmap(nullptr), nullptr);
}

TEST(PlatformDataIO, MemoryStreamReadsSeeksAndStaysInBounds)
{
    const uint8_t data[5] = {1, 2, 3, 4, 5};
    BMemoryIO io(data, sizeof data);
    uint8_t buffer[8] = {};
    EXPECT_EQ(io.Read(buffer, 2), 2);
    EXPECT_EQ(io.Position(), 2);
    EXPECT_EQ(io.Read(buffer, 8), 3);
    EXPECT_EQ(buffer[0], 3);
    EXPECT_EQ(io.Read(buffer, 8), 0);
    EXPECT_EQ(io.Seek(-1, SEEK_END), 4);
    EXPECT_EQ(io.ReadAt(100, buffer, 8), 0);
    EXPECT_LT(io.Seek(-10, SEEK_CUR), 0);
    EXPECT_EQ(io.Seek(10, SEEK_SET), 10);
    EXPECT_EQ(io.Write(buffer, 1), B_NOT_ALLOWED);

    uint8_t room[3] = {};
    BMemoryIO writable(static_cast<void*>(room), sizeof room);
    EXPECT_EQ(writable.Write(data, 5), 3);
    EXPECT_EQ(room[2], 3);
}
