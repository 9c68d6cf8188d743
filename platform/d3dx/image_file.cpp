#include "d3dx/image_file.h"

#include "d3dx/path_resolver.h"
#include "d3dx/regular_file.h"
#include "image/codecs.h"

#include <cstdio>
#include <memory>

namespace platform::d3dx {
namespace {

// No image file the loaders accept needs more than the decoded limit plus headers.
constexpr FileLimits kImageFile{image::kMaxImageBytes + (1 << 20), 1};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

HRESULT LoadImageFile(const char* path, image::Image* image, D3DXIMAGE_INFO* info) {
    std::string bytes;
    if (ReadRegularFile(ResolvePath(path), kImageFile, &bytes) != FileRead::Ok)
        return D3DXERR_INVALIDDATA;
    return image::DecodeImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), image, info);
}

HRESULT WriteFileBytes(const char* path, const std::vector<std::uint8_t>& bytes) {
    const File file(std::fopen(ResolvePathForWriting(path).c_str(), "wb"));
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

} // namespace platform::d3dx
