// The main of the suites that run on Qt's event loop but open no window
// (the model engine's process, for one): a QCoreApplication, so they need
// neither the widgets nor a platform, with settings in Qt's test location
// as the window tests have them.

#include <QCoreApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
