// The editor: one window over the window model, started in the current
// directory, optionally loading the mission file named on the command line.

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <cstdio>
#include <filesystem>
#include <future>

#include "ui/WindowModel.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtFileDialog.h"
#include "ui/qt/SessionEnd.h"
#include "ui/qt/Widgets.h"

#ifndef KESTRANE_VERSION
#define KESTRANE_VERSION "0"
#endif

int main(int argc, char** argv) {
    QCoreApplication::setOrganizationName(QStringLiteral("kestrane"));
    QCoreApplication::setApplicationName(QStringLiteral("kestrane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRANE_VERSION));

    // The command line is read before any window system is touched, so that
    // --help and --version work without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Edit the settings of a .msn mission file. The catalogues planes.txt, targets.txt and "
                       "blocks.txt are read from the current folder, and missions are saved into it."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A mission file to load at start-up."),
                                 QStringLiteral("[FILE]"));
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "kestrane: %s\n", qUtf8Printable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(qUtf8Printable(parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("kestrane"))), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("kestrane %s\n", KESTRANE_VERSION);
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "kestrane: give at most one mission file (%lld were given)\n",
                     static_cast<long long>(files.size()));
        return 2;
    }

    // The catalogues are read on a thread of their own while the window
    // system starts up; the window model waits for them.
    std::future<kestrane::Catalogues> catalogues = kestrane::ReadCataloguesMeanwhile(std::filesystem::current_path());

    // Qt's own options are not taken: only the program name reaches the
    // application object.
    int appArgc = argc > 0 ? 1 : 0;
    char* appArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
    QApplication app(appArgc, appArgv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kestrane.MissionMaker"));
    QApplication::setWindowIcon(kestrane::AppIcon());

    // The window's font is chosen, and its face loaded, while the catalogues
    // are still being read.
    const QFont font = kestrane::WindowFont();
    kestrane::QtFileDialog dialog;
    kestrane::WindowModel model(dialog, catalogues.get());  // the start folder is the current directory
    if (!files.isEmpty()) model.Open(QFile::encodeName(files.front()).toStdString());
    kestrane::MainWindow window(model, font);
    dialog.SetParent(&window);
    // A session ended by a signal keeps its unsaved work like a close does.
    kestrane::SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &kestrane::SessionEnd::requested, &window, &kestrane::MainWindow::EndSession);
    window.show();
    return QApplication::exec();
}
