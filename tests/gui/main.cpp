// The GUI tests run on the offscreen platform unless told otherwise, with one
// watchdog over the modal dialogs for every test.
#include <QApplication>

#include <gtest/gtest.h>

#include "tests/gui/modal_watchdog.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    zam1::test::ModalWatchdog watchdog;
    return RUN_ALL_TESTS();
}
