// The window tests start as the program does, through its own start-up, with
// only QT_QPA_PLATFORM naming a display: that alone must be enough. Without
// it, start-up must refuse in one line instead of letting Qt abort.

#include "ui/Application.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <algorithm>

TEST(Application, WithNoDisplayNamedStartUpRefusesInOneLine) {
    qunsetenv("QT_QPA_PLATFORM");
    int argc = 1;
    char name[] = "varnel-rom-editor";
    char* argv[] = {name, nullptr};
    ::testing::internal::CaptureStderr();
    const bool refused = varnel::createApplication(argc, argv) == nullptr;
    const std::string said = ::testing::internal::GetCapturedStderr();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    EXPECT_TRUE(refused);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("没有可用的图形显示"), std::string::npos) << said;
}

int main(int argc, char* argv[]) {
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto application = varnel::createApplication(argc, argv);
    if (!application) return 1;
    varnel::prepareApplication(*application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
