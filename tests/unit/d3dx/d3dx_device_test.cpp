// The D3DX texture, saving and mesh functions against the platform's device: results and out-pointers
// for bad arguments and bad files, textures whose locked bytes match the files, saved surfaces that
// read back, and meshes that draw. Every test ends with no live object.
#include "device_fixture.h"
#include "scoped_directory.h"

#include "../image/image_files.h"

#include "image/codecs.h"

#include <d3dx9.h>

#include <fstream>
#include <utility>

namespace {

using Bytes = std::vector<std::uint8_t>;

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WritePng(const std::string& path, UINT width, UINT height, const Bytes& bgra) {
    Bytes file;
    EXPECT_TRUE(platform::image::EncodePng(bgra.data(), width, height, true, &file));
    WriteFile(path, file);
}

// The file as the platform's image reader decodes it: its width and its first `count` bytes.
std::pair<UINT, Bytes> Decoded(const char* path, std::size_t count) {
    platform::image::Image image;
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(platform::image::DecodeImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                           &image, nullptr),
              D3D_OK)
        << path;
    image.bytes.resize(std::min(count, image.bytes.size()));
    return {image.width, image.bytes};
}

class D3dxDevice : public DeviceFixture {
  protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        CreateDevice();
    }

    static Bytes Locked(IDirect3DTexture9* texture, UINT level, UINT rowBytes, UINT rows) {
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        Bytes bytes;
        for (UINT y = 0; y < rows; ++y) {
            const auto* row = static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch;
            bytes.insert(bytes.end(), row, row + rowBytes);
        }
        texture->UnlockRect(level);
        return bytes;
    }
    // The texture made from the file with the size, levels, usage, format, pool and filter given.
    IDirect3DTexture9* Load(const char* path, UINT size, UINT levels, DWORD usage, D3DFORMAT format,
                            D3DPOOL pool, DWORD filter, D3DSURFACE_DESC* desc) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(D3DXCreateTextureFromFileExA(device_, path, size, size, levels, usage, format, pool, filter,
                                               D3DX_DEFAULT, 0, nullptr, nullptr, &texture),
                  D3D_OK);
        if (texture)
            texture->GetLevelDesc(0, desc);
        return texture;
    }

    ScopedDirectory directory_;
};

TEST_F(D3dxDevice, BadArgumentsAndBadFilesClearTheOutPointer) {
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(0x1);
    EXPECT_EQ(D3DXCreateTextureFromFileA(nullptr, "x.png", &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(D3DXCreateTextureFromFileA(device_, "x.png", nullptr), D3DERR_INVALIDCALL);
    WriteFile("corrupt.png", Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R'});
    D3DXIMAGE_INFO info{};
    EXPECT_EQ(D3DXGetImageInfoFromFileA("corrupt.png", &info), D3DXERR_INVALIDDATA);
    for (const char* bad : {"missing.png", "corrupt.png"}) {
        texture = reinterpret_cast<IDirect3DTexture9*>(0x1);
        EXPECT_EQ(D3DXCreateTextureFromFileA(device_, bad, &texture), D3DXERR_INVALIDDATA);
        EXPECT_EQ(texture, nullptr);
    }
    // A 2D image is no cube map.
    WritePng("flat.png", 2, 2, Bytes(16, 0x80));
    IDirect3DCubeTexture9* cube = reinterpret_cast<IDirect3DCubeTexture9*>(0x1);
    EXPECT_EQ(D3DXCreateCubeTextureFromFileA(device_, "FLAT.PNG", &cube), D3DXERR_INVALIDDATA);
    EXPECT_EQ(cube, nullptr);
    ASSERT_EQ(D3DXGetImageInfoFromFileA("Flat.png", &info), D3D_OK);
    EXPECT_EQ(info.Width, 2u);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_PNG);

    ID3DXMesh* mesh = reinterpret_cast<ID3DXMesh*>(0x1);
    EXPECT_EQ(D3DXCreateBox(device_, -1.0f, 1.0f, 1.0f, &mesh, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(mesh, nullptr);
    EXPECT_EQ(D3DXCreateSphere(device_, 1.0f, 1, 4, &mesh, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXSaveSurfaceToFileA("out.png", D3DXIFF_PNG, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    texture = reinterpret_cast<IDirect3DTexture9*>(0x1);
    EXPECT_EQ(D3DXCreateTexture(nullptr, 4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
}

TEST_F(D3dxDevice, PngLoadsWithItsBytesAndABoxFilteredChain) {
    const Bytes texels = {0,   0,   0,   255, 100, 100, 100, 255, 1, 2,  3,  4,  5,  6,  7,  8,
                          200, 200, 200, 255, 255, 255, 255, 255, 9, 10, 11, 12, 13, 14, 15, 16};
    std::filesystem::create_directories("Textures");
    WritePng("Textures/Grid.png", 4, 2, texels);
    IDirect3DTexture9* texture = nullptr;
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device_, "textures\\grid.PNG", D3DX_DEFAULT, D3DX_DEFAULT,
                                           D3DX_DEFAULT, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                           D3DX_DEFAULT, 0, &info, nullptr, &texture),
              D3D_OK);
    EXPECT_EQ(info.Width * 10 + info.Height, 42u);
    EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(texture->GetLevelCount(), 3u);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(Locked(texture, 0, 16, 2), texels);
    // 2x1: the first 2x2 block averages 0, 100, 200, 255 (grey) with alpha 255.
    EXPECT_EQ(Locked(texture, 1, 4, 1), (Bytes{139, 139, 139, 255}));
    EXPECT_EQ(texture->Release(), 0u);
}

TEST_F(D3dxDevice, DdsCubeAndVolumeFillEveryFaceAndSlice) {
    test_files::DdsSpec cubeFile;
    cubeFile.width = cubeFile.height = cubeFile.mipCount = 1;
    cubeFile.caps2 = 0x200 | 0xfe00;
    for (std::uint8_t face = 0; face < 6; ++face)
        cubeFile.data.insert(cubeFile.data.end(), {face, 0, 0, 255});
    WriteFile("sky.dds", test_files::MakeDds(cubeFile));
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(D3DXCreateCubeTextureFromFileA(device_, "SKY.dds", &cube), D3D_OK);
    for (UINT face = 0; face < 6; ++face) {
        const auto f = static_cast<D3DCUBEMAP_FACES>(face);
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(cube->LockRect(f, 0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        EXPECT_EQ(static_cast<const std::uint8_t*>(locked.pBits)[0], face);
        cube->UnlockRect(f, 0);
    }
    EXPECT_EQ(cube->Release(), 0u);

    test_files::DdsSpec volumeFile;
    volumeFile.width = volumeFile.height = volumeFile.mipCount = 1;
    volumeFile.depth = 2;
    volumeFile.caps2 = 0x200000;
    volumeFile.data = {1, 2, 3, 4, 5, 6, 7, 8};
    WriteFile("fog.dds", test_files::MakeDds(volumeFile));
    IDirect3DVolumeTexture9* volume = nullptr;
    ASSERT_EQ(D3DXCreateVolumeTextureFromFileExA(device_, "fog.dds", D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT,
                                                 D3DX_FROM_FILE, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                                 D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &volume),
              D3D_OK);
    D3DLOCKED_BOX box{};
    ASSERT_EQ(volume->LockBox(0, &box, nullptr, D3DLOCK_READONLY), D3D_OK);
    const auto* bytes = static_cast<const std::uint8_t*>(box.pBits);
    EXPECT_EQ(bytes[0] * 10 + bytes[box.SlicePitch], 15);
    volume->UnlockBox(0);
    EXPECT_EQ(volume->Release(), 0u);
}

TEST_F(D3dxDevice, SavedSurfacesAndTheBackBufferReadBack) {
    const Bytes texels = {10, 20, 30, 255, 40, 50, 60, 128, 70, 80, 90, 0, 100, 110, 120, 255};
    WritePng("in.png", 2, 2, texels);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileA(device_, "in.png", &texture), D3D_OK);
    ASSERT_EQ(D3DXSaveTextureToFileA("out.png", D3DXIFF_PNG, texture, nullptr), D3D_OK);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &surface), D3D_OK);
    const RECT right{1, 0, 2, 2};
    ASSERT_EQ(D3DXSaveSurfaceToFileA("right.bmp", D3DXIFF_BMP, surface, nullptr, &right), D3D_OK);
    surface->Release();
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(Decoded("out.png", 16), std::make_pair(2u, texels));
    EXPECT_EQ(Decoded("right.bmp", 8), std::make_pair(1u, Bytes{40, 50, 60, 128, 100, 110, 120, 255}));

    // The back buffer saves through GetRenderTargetData.
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xff336699, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
    const HRESULT saved = D3DXSaveSurfaceToFileA("Shot.png", D3DXIFF_PNG, surface, nullptr, nullptr);
    surface->Release();
    ASSERT_EQ(saved, D3D_OK);
    EXPECT_EQ(Decoded("Shot.png", 4), std::make_pair(UINT{kWindowWidth}, Bytes{0x99, 0x66, 0x33, 0xff}));
}

TEST_F(D3dxDevice, RequestedFormatsPoolsSizesAndDefaultsAreHonoured) {
    // 3x1: red, green, blue; opaque.
    WritePng("rgb.png", 3, 1, {0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255});
    D3DSURFACE_DESC desc{};
    IDirect3DTexture9* texture =
        Load("rgb.png", D3DX_DEFAULT_NONPOW2, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, D3DX_FILTER_NONE, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(Locked(texture, 0, 6, 1), (Bytes{0x00, 0xf8, 0xe0, 0x07, 0x1f, 0x00}));
    EXPECT_EQ(texture->Release(), 0u);

    // D3DX_DEFAULT rounds 3 up to 4; a render target in the default pool is filled through
    // UpdateTexture and saved through GetRenderTargetData.
    texture = Load("rgb.png", D3DX_DEFAULT, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                   D3DX_FILTER_POINT, &desc);
    EXPECT_EQ(desc.Pool, D3DPOOL_DEFAULT);
    ASSERT_EQ(D3DXSaveTextureToFileA("rt.png", D3DXIFF_PNG, texture, nullptr), D3D_OK);
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(Decoded("rt.png", 8), std::make_pair(4u, Bytes{0, 0, 255, 255, 0, 255, 0, 255}));

    // Block compression on the way in: a 4x4 image of one 5:6:5 colour survives DXT5 exactly.
    Bytes blue;
    for (int i = 0; i < 16; ++i)
        blue.insert(blue.end(), {255, 0, 0, 255});
    WritePng("solid.png", 4, 4, blue);
    texture = Load("solid.png", 0, 1, 0, D3DFMT_DXT5, D3DPOOL_MANAGED, D3DX_DEFAULT, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_DXT5);
    ASSERT_EQ(D3DXSaveTextureToFileA("solid.bmp", D3DXIFF_BMP, texture, nullptr), D3D_OK);
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(Decoded("solid.bmp", 4), std::make_pair(4u, Bytes{255, 0, 0, 255}));

    // D3DXCreateTexture: D3DX_DEFAULT and 0 sizes are 256, with a whole chain of A8R8G8B8.
    ASSERT_EQ(D3DXCreateTexture(device_, D3DX_DEFAULT, 0, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, &texture),
              D3D_OK);
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width + desc.Height, 512u);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(texture->GetLevelCount(), 9u);
    EXPECT_EQ(texture->Release(), 0u);
}

TEST_F(D3dxDevice, MeshesLayOutTheirBuffersDrawAndRefuseTheFunctionsTheyDoNotOffer) {
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* adjacency = reinterpret_cast<ID3DXBuffer*>(0x1);
    EXPECT_EQ(D3DXCreateSphere(device_, 1.0f, 6, 4, &mesh, &adjacency), E_NOTIMPL);
    EXPECT_EQ(adjacency, nullptr);
    EXPECT_EQ(mesh, nullptr);
    ASSERT_EQ(D3DXCreateSphere(device_, 2.0f, 6, 4, &mesh, nullptr), D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(mesh->LockVertexBuffer(D3DLOCK_READONLY, &data), D3D_OK);
    const auto* floats = static_cast<const float*>(data);
    EXPECT_EQ(floats[2] * 10 + floats[5], 21.0f); // the +z pole at 2, its normal 1
    mesh->UnlockVertexBuffer();
    D3DXATTRIBUTERANGE range{};
    DWORD count = 0;
    ASSERT_EQ(mesh->GetAttributeTable(nullptr, &count), D3D_OK);
    ASSERT_EQ(count, 1u);
    ASSERT_EQ(mesh->GetAttributeTable(&range, &count), D3D_OK);
    EXPECT_EQ(range.FaceCount, 36u);
    EXPECT_EQ(range.VertexCount, 20u);
    D3DVERTEXELEMENT9 declaration[MAX_FVF_DECL_SIZE];
    ASSERT_EQ(mesh->GetDeclaration(declaration), D3D_OK);
    EXPECT_EQ(declaration[1].Usage, D3DDECLUSAGE_NORMAL);
    EXPECT_EQ(declaration[1].Offset, 12u);
    EXPECT_EQ(declaration[2].Stream, 0xff);
    ID3DXMesh* clone = reinterpret_cast<ID3DXMesh*>(0x1);
    EXPECT_EQ(mesh->CloneMeshFVF(0, D3DFVF_XYZ, device_, &clone), E_NOTIMPL);
    EXPECT_EQ(clone, nullptr);
    EXPECT_EQ(mesh->GenerateAdjacency(0.0f, nullptr), E_NOTIMPL);
    EXPECT_EQ(mesh->Release(), 0u);

    // The box hands out its buffers and draws.
    ASSERT_EQ(D3DXCreateBox(device_, 1.0f, 1.0f, 0.2f, &mesh, nullptr), D3D_OK);
    EXPECT_EQ(mesh->GetFVF(), DWORD{D3DFVF_XYZ | D3DFVF_NORMAL});
    EXPECT_EQ(mesh->GetNumVertices() * 100 + mesh->GetNumFaces(), 2412u);
    EXPECT_EQ(mesh->GetNumBytesPerVertex(), 24u);
    IDirect3DVertexBuffer9* vertices = nullptr;
    ASSERT_EQ(mesh->GetVertexBuffer(&vertices), D3D_OK);
    EXPECT_EQ(vertices->Release(), 1u); // the mesh keeps its own
    DWORD* attributes = nullptr;
    ASSERT_EQ(mesh->LockAttributeBuffer(0, &attributes), D3D_OK);
    EXPECT_EQ(attributes[11], 0u);
    mesh->UnlockAttributeBuffer();

    // The -Z face at z = 0.5 faces the viewer (clockwise, culled otherwise); lighting off, it is white.
    D3DMATRIX world{};
    world._11 = world._22 = world._33 = world._44 = 1.0f;
    world._43 = 0.6f;
    device_->SetTransform(D3DTS_WORLD, &world);
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xff000000, 1.0f, 0), D3D_OK);
    device_->BeginScene();
    EXPECT_EQ(mesh->DrawSubset(0), D3D_OK);
    device_->EndScene();
    EXPECT_EQ(mesh->Release(), 0u);
    ReadBack();
    EXPECT_EQ(At(kWindowWidth / 2, kWindowHeight / 2), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(At(1, 1), (Pixel{0, 0, 0, 255}));
}

} // namespace
