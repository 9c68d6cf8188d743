// Windows paths open on Linux: backslashes separate, and names that do not exist as written are
// matched component by component without regard to case.
#include "scoped_directory.h"

#include "d3dx/path_resolver.h"

#include <gtest/gtest.h>

#include <fstream>

using platform::d3dx::ResolvePath;
using platform::d3dx::ResolvePathForWriting;

namespace {

TEST(PathResolver, BackslashesAndWrongCaseFindTheFileExactNamesWinAndTiesGoToTheFirst) {
    ScopedDirectory directory;
    std::filesystem::create_directories("Content/Textures");
    for (const char* name :
         {"Content/Textures/Stone.PNG", "Content/Textures/stone.png", "Content/Textures/STONE.png"})
        std::ofstream(name) << "x";
    EXPECT_EQ(ResolvePath("Content\\Textures\\Stone.PNG"), "Content/Textures/Stone.PNG");
    EXPECT_EQ(ResolvePath("Content/Textures/stone.png"), "Content/Textures/stone.png");
    // "STONE.png" < "Stone.PNG" < "stone.png" in byte order.
    EXPECT_EQ(ResolvePath("content\\TEXTURES\\Stone.Png"), "Content/Textures/STONE.png");
    EXPECT_EQ(ResolvePath(".\\content\\textures\\..\\Textures\\STONE.png"),
              "./Content/Textures/../Textures/STONE.png");
    const std::string absolute = (directory.path() / "CONTENT\\textures\\Stone.PNG").string();
    EXPECT_EQ(ResolvePath(absolute.c_str()), (directory.path() / "Content/Textures/Stone.PNG").string());
    // Missing names come back with slashes; new files go into the matching directory.
    EXPECT_EQ(ResolvePath("Content\\Missing\\Stone.PNG"), "Content/Missing/Stone.PNG");
    EXPECT_EQ(ResolvePath(""), "");
    EXPECT_EQ(ResolvePathForWriting("content\\textures\\Shot.png"), "Content/Textures/Shot.png");
    EXPECT_EQ(ResolvePathForWriting("content\\textures\\stone.PNG"), "Content/Textures/STONE.png");
    EXPECT_EQ(ResolvePathForWriting("shot.bmp"), "shot.bmp");
}

} // namespace
