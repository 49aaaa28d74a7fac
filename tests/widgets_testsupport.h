#pragma once
// For tests of windows: like TEMBRA_SETTINGS_TEST_MAIN, with a QApplication.
#include "settings_testsupport.h"

#include <QApplication>

#define TEMBRA_WIDGETS_SETTINGS_TEST_MAIN(TestClass)                                               \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QTemporaryDir &home = tb::testing::redirectedConfigHome();                                 \
        if (!home.isValid())                                                                       \
            return 1;                                                                              \
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));                                \
        qputenv("HOME", QFile::encodeName(home.path()));                                           \
        QApplication app(argc, argv);                                                              \
        TestClass tc;                                                                              \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
