#pragma once
// The editor's window over a test editor's model, shown, active, and with
// its widgets found by their object names.

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>

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
    // The one widget of a control or option member; none or several fail the test.
    template <class T = QWidget>
    T* Get(ControlId id, int member = -1) {
        const QList<T*> found = window.findChildren<T*>(ObjectName(id, member));
        if (found.size() != 1) throw std::runtime_error(ObjectName(id, member).toStdString() + ": not one widget");
        return found.front();
    }
    MainWindow window;
};

}  // namespace kestrane::test
