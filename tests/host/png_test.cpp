// The PNG encoder and the plain drawing.
#include <gtest/gtest.h>

#include <cstring>

#include "host/render.h"

#if HOST_TESTS_HAVE_ZLIB
#include <zlib.h>
#endif

TEST(Png, ChecksumsMatchTheirDefinitions) {
    const char* iend = "IEND";
    EXPECT_EQ(crc32_of(reinterpret_cast<const uint8_t*>(iend), 4), 0xAE426082u);
    const char* text = "Wikipedia";
    EXPECT_EQ(adler32_of(reinterpret_cast<const uint8_t*>(text), std::strlen(text)), 0x11E60398u);
    const char* nine = "123456789";
    EXPECT_EQ(crc32_of(reinterpret_cast<const uint8_t*>(nine), 9), 0xCBF43926u);
}

TEST(Png, FileStructureAndPixelsSurviveDecoding) {
    Picture p;
    p.resize(300, 250, Rgb{1, 2, 3});   // more than one stored block
    p.set(299, 249, Rgb{255, 128, 7});
    std::vector<uint8_t> png = encode_png(p);
    ASSERT_GT(png.size(), 8u + 25 + 12);
    EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
    EXPECT_EQ(std::memcmp(png.data() + 12, "IHDR", 4), 0);
    EXPECT_EQ(png[16 + 3], 300 & 255);
    EXPECT_EQ(png[16 + 2], 300 >> 8);
    // Every chunk's CRC covers its type and data.
    size_t pos = 8;
    int chunks = 0;
    std::vector<uint8_t> idat;
    while (pos + 12 <= png.size()) {
        uint32_t length = (png[pos] << 24) | (png[pos + 1] << 16) | (png[pos + 2] << 8) | png[pos + 3];
        uint32_t crc = (png[pos + 8 + length] << 24) | (png[pos + 9 + length] << 16) | (png[pos + 10 + length] << 8) |
                       png[pos + 11 + length];
        EXPECT_EQ(crc32_of(png.data() + pos + 4, length + 4), crc);
        if (std::memcmp(png.data() + pos + 4, "IDAT", 4) == 0)
            idat.insert(idat.end(), png.begin() + pos + 8, png.begin() + pos + 8 + length);
        pos += 12 + length;
        ++chunks;
    }
    EXPECT_EQ(pos, png.size());
    EXPECT_EQ(chunks, 3);
#if HOST_TESTS_HAVE_ZLIB
    std::vector<uint8_t> raw(static_cast<size_t>(250) * (300 * 3 + 1));
    uLongf size = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &size, idat.data(), idat.size()), Z_OK);
    ASSERT_EQ(size, raw.size());
    const uint8_t* last = &raw[raw.size() - 3];
    EXPECT_EQ(last[0], 255);
    EXPECT_EQ(last[1], 128);
    EXPECT_EQ(last[2], 7);
    EXPECT_EQ(raw[0], 0);   // filter byte
    EXPECT_EQ(raw[1], 1);
#endif
}

TEST(Picture, LinesTextAndClipping) {
    Picture p;
    p.resize(20, 10, Rgb{0, 0, 0});
    p.line(0, 0, 19, 9, Rgb{255, 255, 255});
    EXPECT_EQ(p.get(0, 0).r, 255);
    EXPECT_EQ(p.get(19, 9).r, 255);
    p.line(-50, 5, 100, 5, Rgb{0, 255, 0});   // clipped, no fault
    EXPECT_EQ(p.get(10, 5).g, 255);
    Picture t;
    t.resize(20, 8, Rgb{0, 0, 0});
    EXPECT_EQ(t.text(0, 0, "1A", Rgb{9, 9, 9}), 8);
    EXPECT_EQ(t.get(1, 0).r, 9);   // the 1's top
    EXPECT_EQ(t.get(0, 0).r, 0);
    EXPECT_EQ(t.get(4 + 1, 0).r, 9);   // the A's apex
    EXPECT_EQ(t.get(4, 0).r, 0);
}
