#pragma once
// The editor's window over a test editor's model, shown, active, and with
// its widgets found by their object names.

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/SheetNames.h"

namespace kestrane::test {

struct Window {
    explicit Window(Editor& ed) : window(*ed.model) {
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    template <class T = QWidget>
    T* Get(ControlId id, int member = -1) { return window.findChild<T*>(ObjectName(id, member)); }
    MainWindow window;
};

}  // namespace kestrane::test
