// Corrupt, truncated and oversized files are refused with D3DXERR_INVALIDDATA and leave no image
// behind; the sanitizer build checks that nothing leaks on the way out.
#include "image_files.h"

#include "image/codecs.h"

#include <gtest/gtest.h>

using platform::image::DecodeImage;
using platform::image::Image;
using test_files::Bytes;

namespace {

void ExpectRefused(const Bytes& file, const char* what) {
    Image image;
    image.width = 99; // must be reset
    D3DXIMAGE_INFO info{};
    EXPECT_EQ(DecodeImage(file.data(), file.size(), &image, &info), D3DXERR_INVALIDDATA) << what;
    EXPECT_TRUE(image.bytes.empty()) << what;
    EXPECT_EQ(image.width, 0u) << what;
}

Bytes ValidPng() {
    test_files::PngSpec spec;
    spec.width = 8;
    spec.height = 8;
    spec.pixels.assign(8 * 8 * 4, 0x5a);
    return test_files::MakePng(spec);
}

TEST(HostileFiles, EmptyAndTinyInputs) {
    Image image;
    EXPECT_EQ(DecodeImage(nullptr, 0, &image, nullptr), D3DXERR_INVALIDDATA);
    ExpectRefused({}, "empty");
    ExpectRefused({0x89, 'P', 'N', 'G'}, "PNG signature only");
    ExpectRefused({0xff, 0xd8, 0xff}, "JPEG start only");
    ExpectRefused({'B', 'M'}, "BMP magic only");
    ExpectRefused({'D', 'D', 'S', ' ', 124, 0}, "DDS magic only");
}

TEST(HostileFiles, EveryTruncationOfAPngIsRefused) {
    const Bytes png = ValidPng();
    for (std::size_t size = 0; size < png.size() - 12; ++size) // the last 12 bytes are IEND
        ExpectRefused(Bytes(png.begin(), png.begin() + static_cast<long>(size)), "truncated PNG");
}

TEST(HostileFiles, PngWithDamagedDataOrHugeHeader) {
    Bytes damaged = ValidPng();
    damaged[damaged.size() - 20] ^= 0xff; // inside IDAT: the CRC no longer matches
    ExpectRefused(damaged, "damaged IDAT");

    Bytes huge = ValidPng();
    // IHDR width at offset 16: 0x00100000 = 1048576 texels wide, past the limit.
    huge[16] = 0x00;
    huge[17] = 0x10;
    ExpectRefused(huge, "PNG wider than the limit");
}

TEST(HostileFiles, JpegWithBadMarkersOrCutShort) {
    const std::uint8_t colour[3] = {10, 20, 30};
    const Bytes jpeg = test_files::MakeJpeg(16, 16, 3, colour);
    ExpectRefused(Bytes(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() / 2)), "half a JPEG");
    Bytes badMarker = jpeg;
    badMarker[3] = 0x01; // the marker after SOI becomes TEM: no frame follows
    badMarker[2] = 0xff;
    badMarker[4] = 0xff;
    badMarker[5] = 0x99;
    ExpectRefused(badMarker, "JPEG with bad markers");
    ExpectRefused({0xff, 0xd8, 0xff, 0xd9}, "JPEG that ends at once");
}

TEST(HostileFiles, DdsHeadersThatLie) {
    test_files::DdsSpec spec;
    spec.width = 1024;
    spec.height = 1024;
    spec.data = Bytes(16);
    ExpectRefused(test_files::MakeDds(spec), "promises more data than the file holds");

    spec.width = spec.height = 4;
    spec.data = Bytes(64);
    spec.mipCount = 40;
    ExpectRefused(test_files::MakeDds(spec), "more mips than the chain has");

    spec.mipCount = 0;
    spec.caps2 = 0x200 | 0x400; // cube map with one face
    ExpectRefused(test_files::MakeDds(spec), "partial cube map");

    spec.caps2 = 0;
    spec.width = 0x40000000;
    spec.height = 0x40000000;
    ExpectRefused(test_files::MakeDds(spec), "dimensions past every limit");

    spec.width = spec.height = 4;
    spec.pfFlags = 0x4;
    spec.fourCC = 0x31545844 + 1; // not a known FourCC
    ExpectRefused(test_files::MakeDds(spec), "unknown FourCC");

    Bytes badSize = test_files::MakeDds(test_files::DdsSpec{});
    badSize[4] = 100;
    ExpectRefused(badSize, "header size not 124");
}

TEST(HostileFiles, BmpAndTgaThatLie) {
    Bytes bmp = test_files::MakeBmp(2, 2, 24, Bytes(12, 7));
    Bytes wide = bmp;
    wide[18] = 0x00;
    wide[19] = 0x00;
    wide[20] = 0x10; // 1048576 wide
    ExpectRefused(wide, "BMP wider than the limit");
    ExpectRefused(Bytes(bmp.begin(), bmp.begin() + 30), "BMP cut inside its header");

    Bytes tga = test_files::MakeTga(2, 2, 24, false, Bytes(12, 7));
    tga[2] = 77; // no such image type
    ExpectRefused(tga, "TGA of an unknown type");
}

} // namespace
