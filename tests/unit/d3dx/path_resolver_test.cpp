// Windows paths open on Linux: backslashes separate, and names that do not exist as written are
// matched component by component without regard to case.
#include "scoped_directory.h"

#include "d3dx/path_resolver.h"

#include <gtest/gtest.h>

#include <fstream>

using platform::d3dx::ResolvePath;
using platform::d3dx::ResolvePathForWriting;

namespace {

class PathResolver : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories("Content/Textures");
        std::ofstream("Content/Textures/Stone.PNG") << "x";
    }
    ScopedDirectory directory_;
};

TEST_F(PathResolver, BackslashesAndWrongCaseFindTheFile) {
    EXPECT_EQ(ResolvePath("Content\\Textures\\Stone.PNG"), "Content/Textures/Stone.PNG");
    EXPECT_EQ(ResolvePath("content\\TEXTURES\\stone.png"), "Content/Textures/Stone.PNG");
    EXPECT_EQ(ResolvePath(".\\content\\textures\\..\\Textures\\STONE.png"),
              "./Content/Textures/../Textures/Stone.PNG");
    const std::string absolute = (directory_.path() / "CONTENT\\textures\\stone.png").string();
    EXPECT_EQ(ResolvePath(absolute.c_str()), (directory_.path() / "Content/Textures/Stone.PNG").string());
}

TEST_F(PathResolver, ExactNamesWinAndTiesGoToTheFirstInByteOrder) {
    std::ofstream("Content/Textures/stone.png") << "y";
    std::ofstream("Content/Textures/STONE.png") << "z";
    EXPECT_EQ(ResolvePath("Content/Textures/stone.png"), "Content/Textures/stone.png");
    EXPECT_EQ(ResolvePath("content/textures/Stone.png"), "Content/Textures/STONE.png");
}

TEST_F(PathResolver, MissingNamesComeBackWithSlashes) {
    EXPECT_EQ(ResolvePath("Content\\Missing\\Stone.PNG"), "Content/Missing/Stone.PNG");
    EXPECT_EQ(ResolvePath(""), "");
}

TEST_F(PathResolver, NewFilesGoIntoTheMatchingDirectory) {
    EXPECT_EQ(ResolvePathForWriting("content\\textures\\Shot.png"), "Content/Textures/Shot.png");
    EXPECT_EQ(ResolvePathForWriting("content\\textures\\stone.png"), "Content/Textures/Stone.PNG");
    EXPECT_EQ(ResolvePathForWriting("shot.bmp"), "shot.bmp");
}

} // namespace
