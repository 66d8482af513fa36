// SPDX-License-Identifier: MIT
// Test entry point: a QApplication exists for every test, so tests may measure text, draw
// into images and create widgets. The platform is offscreen unless the caller chose one.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
