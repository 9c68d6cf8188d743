// Corrupt, truncated and oversized files are refused with D3DXERR_INVALIDDATA and leave no image
// behind; the sanitizer build checks that nothing leaks on the way out.
#include "image_files.h"

#include "image/codecs.h"

#include <gtest/gtest.h>

#include <utility>

using platform::image::Image;
using test_files::Bytes;

namespace {

void ExpectRefused(const Bytes& file, const std::string& what) {
    Image image;
    image.width = 99; // must be reset
    D3DXIMAGE_INFO info{};
    EXPECT_EQ(platform::image::DecodeImage(file.data(), file.size(), &image, &info), D3DXERR_INVALIDDATA)
        << what;
    EXPECT_TRUE(image.bytes.empty() && image.width == 0) << what;
}

// The bytes with the values written from the offset on.
Bytes Patched(Bytes bytes, std::size_t offset, const Bytes& values) {
    std::copy(values.begin(), values.end(), bytes.begin() + static_cast<long>(offset));
    return bytes;
}

TEST(HostileFiles, EveryKindOfLieIsRefused) {
    test_files::PngSpec spec;
    spec.width = spec.height = 8;
    spec.pixels.assign(8 * 8 * 4, 0x5a);
    const Bytes png = test_files::MakePng(spec);
    for (std::size_t size = 0; size < png.size() - 12; ++size) // the last 12 bytes are IEND
        ExpectRefused(Bytes(png.begin(), png.begin() + static_cast<long>(size)), "truncated PNG");
    const std::uint8_t colour[3] = {10, 20, 30};
    const Bytes jpeg = test_files::MakeJpeg(16, 16, 3, colour);
    const Bytes bmp = test_files::MakeBmp(2, 2, 24, Bytes(12, 7));
    test_files::DdsSpec dds;
    dds.data = Bytes(64);
    const auto ddsWith = [&dds](auto change) {
        test_files::DdsSpec changed = dds;
        change(&changed);
        return test_files::MakeDds(changed);
    };
    const std::pair<Bytes, const char*> cases[] = {
        {{0x89, 'P', 'N', 'G'}, "PNG signature only"},
        {{0xff, 0xd8, 0xff}, "JPEG start only"},
        {{'D', 'D', 'S', ' ', 124, 0}, "DDS magic only"},
        {Patched(png, png.size() - 20, {static_cast<std::uint8_t>(png[png.size() - 20] ^ 0xff)}),
         "damaged IDAT"},
        {Patched(png, 16, {0x00, 0x10}), "PNG 1048576 texels wide, past the limit"},
        {Bytes(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() / 2)), "half a JPEG"},
        {Patched(jpeg, 2, {0xff, 0x01, 0xff, 0x99}), "JPEG whose marker after SOI is TEM"},
        {{0xff, 0xd8, 0xff, 0xd9}, "JPEG that ends at once"},
        {ddsWith([](test_files::DdsSpec* s) { s->width = s->height = 1024; }), "DDS promising more data"},
        {ddsWith([](test_files::DdsSpec* s) { s->mipCount = 40; }), "DDS with more mips than the chain"},
        {ddsWith([](test_files::DdsSpec* s) { s->caps2 = 0x200 | 0x400; }), "cube map with one face"},
        {ddsWith([](test_files::DdsSpec* s) { s->width = s->height = 0x40000000; }), "DDS past every limit"},
        {ddsWith([](test_files::DdsSpec* s) { s->pfFlags = 0x4, s->fourCC = 0x31545844 + 1; }),
         "unknown FourCC"},
        {Patched(test_files::MakeDds(dds), 4, {100}), "DDS header size not 124"},
        {Patched(bmp, 18, {0x00, 0x00, 0x10}), "BMP 1048576 wide"},
        {Bytes(bmp.begin(), bmp.begin() + 30), "BMP cut inside its header"},
        {Patched(test_files::MakeTga(2, 2, 24, false, Bytes(12, 7)), 2, {77}), "TGA of an unknown type"},
    };
    for (const auto& c : cases)
        ExpectRefused(c.first, c.second);
    Image image;
    EXPECT_EQ(platform::image::DecodeImage(nullptr, 0, &image, nullptr), D3DXERR_INVALIDDATA);
}

} // namespace
