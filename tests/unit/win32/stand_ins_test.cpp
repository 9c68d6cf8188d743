// The Win32 stand-ins: window titles, the message box that never blocks, the settable tick clock.
#include "platform_control.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

namespace {

TEST(StandInWindowTest, TitlesAndSizesOfKnownWindowsOnlyAndHandlesAreNotReused) {
    HWND window = platform::CreateStandInWindow(320, 200, "Acknex");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(platform::GetStandInWindowTitle(window), "Acknex");
    EXPECT_EQ(SetWindowTextA(window, "Vantor 3.0 Demo"), TRUE);
    EXPECT_EQ(platform::GetStandInWindowTitle(window), "Vantor 3.0 Demo");
    EXPECT_EQ(SetWindowTextA(window, nullptr), TRUE);
    EXPECT_EQ(platform::GetStandInWindowTitle(window), "");
    int width = 0, height = 0;
    ASSERT_TRUE(platform::GetStandInWindowSize(window, &width, &height));
    EXPECT_EQ(width * 1000 + height, 320200);

    platform::DestroyStandInWindow(window);
    EXPECT_EQ(SetWindowTextA(window, "late"), FALSE);
    EXPECT_FALSE(platform::GetStandInWindowSize(window, &width, &height));
    EXPECT_EQ(SetWindowTextA(reinterpret_cast<HWND>(std::uintptr_t{0xDEAD}), "made up"), FALSE);
    HWND second = platform::CreateStandInWindow(1, 1, "b");
    EXPECT_NE(second, window);
    EXPECT_EQ(platform::CreateStandInWindow(-1, 5, "bad"), nullptr);
    platform::DestroyStandInWindow(second);
    platform::DestroyStandInWindow(nullptr); // harmless
}

TEST(MessageBoxTest, AnswersOkAtOnceAndRecordsTheText) {
    const std::size_t before = platform::MessageBoxCount();
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "Datei nicht gefunden", "Vantor 3.0", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_YESNO), IDOK);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_NE(written.find("Vantor 3.0"), std::string::npos);
    EXPECT_NE(written.find("Datei nicht gefunden"), std::string::npos);
    EXPECT_EQ(platform::MessageBoxCount(), before + 2);
    EXPECT_EQ(platform::LastMessageBoxText(), "");
}

TEST(TickCountTest, FollowsTheSetClockThenRealTimeAgain) {
    platform::SetTickCount(0xFFFFFFFF);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(GetTickCount(), 0xFFFFFFFFu);
    platform::UseRealTickCount();
    const DWORD start = GetTickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 20u);
    EXPECT_LT(elapsed, 5000u);
}

} // namespace
