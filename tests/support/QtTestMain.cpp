// GoogleTest main for tests of real Qt widgets, on the offscreen platform unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
#ifdef TQ20_OFFSCREEN_CONFIG
    // A desktop's screen rather than the platform's own 800 pixels: how wide a window may grow
    // depends on it.
    ::setenv("QT_QPA_PLATFORM", "offscreen:configfile=" TQ20_OFFSCREEN_CONFIG, 0);
#endif
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
