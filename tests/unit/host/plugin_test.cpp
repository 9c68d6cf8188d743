// Loading a plug-in and calling its exports by name: the errors on the way. (Binding and arguments in
// their places are what every test of the real plug-in relies on.)
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>

#include "engine.h"
#include "host_error.h"
#include "plugin.h"

namespace {

// The message of the host::Error that `action` throws; empty when it throws none.
template <typename Action> std::string ErrorText(Action action) {
    try {
        action();
    } catch (const host::Error& error) {
        return error.what();
    }
    return "";
}

class PluginCalls : public ::testing::Test {
  protected:
    host::Engine engine_;
    host::Plugin plugin_{VTR3_FAKE_PLUGIN};
};

TEST_F(PluginCalls, RefuseUnknownExportsAndWrongCalls) {
    EXPECT_EQ(ErrorText([&] { plugin_.Call("VTR3NoSuchExport"); }),
              "plug-in \"" VTR3_FAKE_PLUGIN "\" has no export \"VTR3NoSuchExport\"");
    EXPECT_NE(ErrorText([&] { plugin_.Call(nullptr); }), "");
    EXPECT_NE(ErrorText([&] { plugin_.Call("A6_DLLAPI", 0); }), "");
    const var v = 0;
    EXPECT_NE(ErrorText([&] { plugin_.Call("VTR3Add", v, v, v, v, v); }), "");
    EXPECT_EQ(plugin_.Export("VTR3NoSuchExport"), nullptr);
}

TEST(PluginLoading, ReportsWhatCannotBeLoaded) {
    EXPECT_EQ(ErrorText([] { host::Plugin("/nonexistent/libVantor3.so"); }),
              "plug-in \"/nonexistent/libVantor3.so\" does not exist");
    EXPECT_NE(ErrorText([] { host::Plugin(""); }), "");
    EXPECT_EQ(ErrorText([] { host::Plugin(VTR3_NOT_A_PLUGIN); }),
              "\"" VTR3_NOT_A_PLUGIN "\" is no engine plug-in: it has no export A6_DLLAPI");
    EXPECT_NE(ErrorText([] { host::Plugin(VTR3_HOST_TEST_SOURCE); }).find("could not be loaded"),
              std::string::npos);
}

TEST(PluginLoading, UnloadsTheLibraryWhenDestroyed) {
    { host::Plugin plugin(VTR3_FAKE_PLUGIN); }
    void* still = dlopen(VTR3_FAKE_PLUGIN, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_EQ(still, nullptr);
    if (still) {
        dlclose(still);
    }
}

} // namespace
