#include "d3dx/image_file.h"

#include "d3dx/path_resolver.h"
#include "image/codecs.h"

#include <cstdio>
#include <memory>

namespace platform::d3dx {
namespace {

// No image file the loaders accept needs more than the decoded limit plus headers.
constexpr long kMaxFileBytes = static_cast<long>(image::kMaxImageBytes) + (1 << 20);

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>* bytes) {
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0)
        return false;
    const long size = std::ftell(file.get());
    if (size <= 0 || size > kMaxFileBytes || std::fseek(file.get(), 0, SEEK_SET) != 0)
        return false;
    bytes->resize(static_cast<std::size_t>(size));
    return std::fread(bytes->data(), 1, bytes->size(), file.get()) == bytes->size();
}

} // namespace

HRESULT LoadImageFile(const char* path, image::Image* image, D3DXIMAGE_INFO* info) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(ResolvePath(path), &bytes))
        return D3DXERR_INVALIDDATA;
    return image::DecodeImage(bytes.data(), bytes.size(), image, info);
}

HRESULT WriteFileBytes(const char* path, const std::vector<std::uint8_t>& bytes) {
    const File file(std::fopen(ResolvePathForWriting(path).c_str(), "wb"));
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

} // namespace platform::d3dx
