#pragma once
// For tests of windows: like TEMBRA_SETTINGS_TEST_MAIN, with a QApplication.
#include "settings_testsupport.h"

#include <QApplication>

#define TEMBRA_WIDGETS_SETTINGS_TEST_MAIN(TestClass) TEMBRA_TEST_MAIN_WITH(QApplication, TestClass)
