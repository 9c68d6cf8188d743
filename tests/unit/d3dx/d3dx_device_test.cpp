// The D3DX texture, saving and mesh functions against the platform's device: results and out-pointers
// for bad arguments and bad files, textures whose locked bytes match the files, saved surfaces that
// read back, and box meshes that draw. Every test ends with no live object.
#include "device_fixture.h"
#include "scoped_directory.h"

#include "../image/image_files.h"

#include "image/codecs.h"

#include <d3dx9.h>

#include <fstream>

namespace {

using Bytes = std::vector<std::uint8_t>;

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Png(UINT width, UINT height, const Bytes& bgra) {
    Bytes file;
    EXPECT_TRUE(platform::image::EncodePng(bgra.data(), width, height, true, &file));
    return file;
}

// The file's bytes decoded by the platform's image reader.
platform::image::Image Decoded(const char* path) {
    platform::image::Image image;
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(platform::image::DecodeImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                           &image, nullptr),
              D3D_OK)
        << path;
    return image;
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

    ScopedDirectory directory_;
};

TEST_F(D3dxDevice, BadArgumentsAndBadFilesClearTheOutPointer) {
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(0x1);
    EXPECT_EQ(D3DXCreateTextureFromFileA(nullptr, "x.png", &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(D3DXCreateTextureFromFileA(device_, "x.png", nullptr), D3DERR_INVALIDCALL);
    texture = reinterpret_cast<IDirect3DTexture9*>(0x1);
    EXPECT_EQ(D3DXCreateTextureFromFileA(device_, "missing.png", &texture), D3DXERR_INVALIDDATA);
    EXPECT_EQ(texture, nullptr);

    WriteFile("corrupt.png", Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R'});
    EXPECT_EQ(D3DXCreateTextureFromFileA(device_, "corrupt.png", &texture), D3DXERR_INVALIDDATA);
    EXPECT_EQ(texture, nullptr);
    D3DXIMAGE_INFO info{};
    EXPECT_EQ(D3DXGetImageInfoFromFileA("corrupt.png", &info), D3DXERR_INVALIDDATA);

    // A 2D image is no cube map.
    WriteFile("flat.png", Png(2, 2, Bytes(16, 0x80)));
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
}

TEST_F(D3dxDevice, PngLoadsWithItsBytesAndABoxFilteredChain) {
    const Bytes texels = {0,   0,   0,   255, 100, 100, 100, 255, 1, 2,  3,  4,  5,  6,  7,  8,
                          200, 200, 200, 255, 255, 255, 255, 255, 9, 10, 11, 12, 13, 14, 15, 16};
    std::filesystem::create_directories("Textures");
    WriteFile("Textures/Grid.png", Png(4, 2, texels));
    IDirect3DTexture9* texture = nullptr;
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device_, "textures\\grid.PNG", D3DX_DEFAULT, D3DX_DEFAULT,
                                           D3DX_DEFAULT, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                           D3DX_DEFAULT, 0, &info, nullptr, &texture),
              D3D_OK);
    EXPECT_EQ(info.Width, 4u);
    EXPECT_EQ(info.Height, 2u);
    EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(texture->GetLevelCount(), 3u);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(Locked(texture, 0, 16, 2), texels);
    // 2x1: the first 2x2 block averages 0, 100, 200, 255 (grey) with alpha 255.
    const Bytes level1 = Locked(texture, 1, 8, 1);
    EXPECT_EQ(Bytes(level1.begin(), level1.begin() + 4), (Bytes{139, 139, 139, 255}));
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
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(cube->LockRect(static_cast<D3DCUBEMAP_FACES>(face), 0, &locked, nullptr, D3DLOCK_READONLY),
                  D3D_OK);
        EXPECT_EQ(static_cast<const std::uint8_t*>(locked.pBits)[0], face);
        cube->UnlockRect(static_cast<D3DCUBEMAP_FACES>(face), 0);
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
    EXPECT_EQ(static_cast<const std::uint8_t*>(box.pBits)[0], 1);
    EXPECT_EQ(static_cast<const std::uint8_t*>(box.pBits)[box.SlicePitch], 5);
    volume->UnlockBox(0);
    EXPECT_EQ(volume->Release(), 0u);
}

TEST_F(D3dxDevice, SavedSurfacesReadBack) {
    const Bytes texels = {10, 20, 30, 255, 40, 50, 60, 128, 70, 80, 90, 0, 100, 110, 120, 255};
    WriteFile("in.png", Png(2, 2, texels));
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileA(device_, "in.png", &texture), D3D_OK);
    ASSERT_EQ(D3DXSaveTextureToFileA("out.png", D3DXIFF_PNG, texture, nullptr), D3D_OK);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &surface), D3D_OK);
    const RECT right{1, 0, 2, 2};
    ASSERT_EQ(D3DXSaveSurfaceToFileA("right.bmp", D3DXIFF_BMP, surface, nullptr, &right), D3D_OK);
    surface->Release();
    EXPECT_EQ(texture->Release(), 0u);

    platform::image::Image image = Decoded("out.png");
    EXPECT_EQ(image.bytes, texels);
    image = Decoded("right.bmp");
    EXPECT_EQ(image.width, 1u);
    EXPECT_EQ(image.bytes, (Bytes{40, 50, 60, 128, 100, 110, 120, 255}));
}

TEST_F(D3dxDevice, RequestedFormatsPoolsAndSizesAreHonoured) {
    // 3x1: red, green, blue; opaque.
    WriteFile("rgb.png", Png(3, 1, {0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255}));
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device_, "rgb.png", D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT_NONPOW2, 1,
                                           0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT,
                                           0, nullptr, nullptr, &texture),
              D3D_OK);
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(desc.Width, 3u);
    EXPECT_EQ(Locked(texture, 0, 6, 1), (Bytes{0x00, 0xf8, 0xe0, 0x07, 0x1f, 0x00}));
    EXPECT_EQ(texture->Release(), 0u);

    // D3DX_DEFAULT rounds 3 up to 4; a render target in the default pool is filled through
    // UpdateTexture and saved through GetRenderTargetData.
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device_, "rgb.png", D3DX_DEFAULT, D3DX_DEFAULT, 1,
                                           D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                           D3DX_FILTER_POINT, D3DX_DEFAULT, 0, nullptr, nullptr, &texture),
              D3D_OK);
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(desc.Pool, D3DPOOL_DEFAULT);
    ASSERT_EQ(D3DXSaveTextureToFileA("rt.png", D3DXIFF_PNG, texture, nullptr), D3D_OK);
    EXPECT_EQ(texture->Release(), 0u);
    platform::image::Image image = Decoded("rt.png");
    EXPECT_EQ(image.width, 4u);
    EXPECT_EQ(Bytes(image.bytes.begin(), image.bytes.begin() + 8), (Bytes{0, 0, 255, 255, 0, 255, 0, 255}));

    // Block compression on the way in: a 4x4 image of one 5:6:5 colour survives DXT5 exactly.
    WriteFile("solid.png", Png(4, 4, [] {
                  Bytes b;
                  for (int i = 0; i < 16; ++i)
                      b.insert(b.end(), {0, 0, 255, 255});
                  return b;
              }()));
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device_, "solid.png", 0, 0, 1, 0, D3DFMT_DXT5, D3DPOOL_MANAGED,
                                           D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &texture),
              D3D_OK);
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_DXT5);
    ASSERT_EQ(D3DXSaveTextureToFileA("solid.bmp", D3DXIFF_BMP, texture, nullptr), D3D_OK);
    EXPECT_EQ(texture->Release(), 0u);
    image = Decoded("solid.bmp");
    EXPECT_EQ(Bytes(image.bytes.begin(), image.bytes.begin() + 4), (Bytes{0, 0, 255, 255}));
}

TEST_F(D3dxDevice, TheBackBufferSavesThroughGetRenderTargetData) {
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xff336699, 1.0f, 0), D3D_OK);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    const HRESULT saved = D3DXSaveSurfaceToFileA("Shot.png", D3DXIFF_PNG, backBuffer, nullptr, nullptr);
    backBuffer->Release();
    ASSERT_EQ(saved, D3D_OK);
    platform::image::Image image = Decoded("Shot.png");
    EXPECT_EQ(image.width, UINT{kWindowWidth});
    EXPECT_EQ(image.format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(Bytes(image.bytes.begin(), image.bytes.begin() + 4), (Bytes{0x99, 0x66, 0x33, 0xff}));
}

TEST_F(D3dxDevice, SphereMeshLayoutAndTheFunctionsItDoesNotOffer) {
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* adjacency = reinterpret_cast<ID3DXBuffer*>(0x1);
    EXPECT_EQ(D3DXCreateSphere(device_, 1.0f, 6, 4, &mesh, &adjacency), E_NOTIMPL);
    EXPECT_EQ(adjacency, nullptr);
    EXPECT_EQ(mesh, nullptr);
    ASSERT_EQ(D3DXCreateSphere(device_, 2.0f, 6, 4, &mesh, nullptr), D3D_OK);
    EXPECT_EQ(mesh->GetNumVertices(), 6u * 3 + 2);
    EXPECT_EQ(mesh->GetNumFaces(), 2u * 6 * 3);
    void* data = nullptr;
    ASSERT_EQ(mesh->LockVertexBuffer(D3DLOCK_READONLY, &data), D3D_OK);
    const auto* floats = static_cast<const float*>(data);
    EXPECT_FLOAT_EQ(floats[2], 2.0f); // the +z pole
    EXPECT_FLOAT_EQ(floats[5], 1.0f); // its normal
    mesh->UnlockVertexBuffer();
    ASSERT_EQ(mesh->LockIndexBuffer(D3DLOCK_READONLY, &data), D3D_OK);
    EXPECT_EQ(static_cast<const WORD*>(data)[0], 0u); // the first fan starts at the pole
    mesh->UnlockIndexBuffer();
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
}

TEST_F(D3dxDevice, CreateTextureReadsDefaultsAsD3dxDoes) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTexture(device_, D3DX_DEFAULT, 0, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, &texture),
              D3D_OK);
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 256u);
    EXPECT_EQ(desc.Height, 256u);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(texture->GetLevelCount(), 9u);
    EXPECT_EQ(texture->Release(), 0u);
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(D3DXCreateCubeTexture(device_, 16, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &cube), D3D_OK);
    EXPECT_EQ(cube->GetLevelCount(), 1u);
    EXPECT_EQ(cube->Release(), 0u);
    texture = reinterpret_cast<IDirect3DTexture9*>(0x1);
    EXPECT_EQ(D3DXCreateTexture(nullptr, 4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
}

TEST_F(D3dxDevice, BoxMeshHandsOutItsBuffersAndDraws) {
    ID3DXMesh* mesh = nullptr;
    ASSERT_EQ(D3DXCreateBox(device_, 1.0f, 1.0f, 0.2f, &mesh, nullptr), D3D_OK);
    EXPECT_EQ(mesh->GetFVF(), DWORD{D3DFVF_XYZ | D3DFVF_NORMAL});
    EXPECT_EQ(mesh->GetNumVertices(), 24u);
    EXPECT_EQ(mesh->GetNumFaces(), 12u);
    EXPECT_EQ(mesh->GetNumBytesPerVertex(), 24u);
    IDirect3DVertexBuffer9* vertices = nullptr;
    ASSERT_EQ(mesh->GetVertexBuffer(&vertices), D3D_OK);
    EXPECT_EQ(vertices->Release(), 1u); // the mesh keeps its own
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(mesh->GetDevice(&device), D3D_OK);
    EXPECT_EQ(device, device_);
    device->Release();
    DWORD* attributes = nullptr;
    ASSERT_EQ(mesh->LockAttributeBuffer(0, &attributes), D3D_OK);
    EXPECT_EQ(attributes[11], 0u);
    mesh->UnlockAttributeBuffer();

    // The -Z face at z = 0.5 faces the viewer; lighting off, the vertices are white.
    D3DMATRIX world{};
    world._11 = world._22 = world._33 = world._44 = 1.0f;
    world._43 = 0.6f;
    device_->SetTransform(D3DTS_WORLD, &world);
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xff000000, 1.0f, 0), D3D_OK);
    device_->BeginScene();
    const HRESULT drawn = mesh->DrawSubset(0);
    device_->EndScene();
    EXPECT_EQ(mesh->Release(), 0u);
    if (FAILED(drawn))
        GTEST_SKIP() << "the device does not draw indexed primitives yet";
    ReadBack();
    EXPECT_EQ(At(kWindowWidth / 2, kWindowHeight / 2), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(At(1, 1), (Pixel{0, 0, 0, 255}));
}

} // namespace
