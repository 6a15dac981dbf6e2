// The editor: one window over the window model, started in the current
// directory. The program reads no command line and no environment.

#include <QApplication>

#include "ui/WindowModel.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtFileDialog.h"
#include "ui/qt/Widgets.h"

int main(int argc, char** argv) {
    // Arguments are ignored, Qt's own options too: only the program name
    // reaches the application object.
    int appArgc = argc > 0 ? 1 : 0;
    char* appArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
    QApplication app(appArgc, appArgv);
    QApplication::setApplicationName(QStringLiteral("Kestrane Mission maker"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kestrane"));
    QApplication::setWindowIcon(kestrane::AppIcon());

    kestrane::QtFileDialog dialog;
    kestrane::WindowModel model(dialog);  // the start folder is the current directory
    kestrane::MainWindow window(model);
    dialog.SetParent(&window);
    window.show();
    return QApplication::exec();
}
