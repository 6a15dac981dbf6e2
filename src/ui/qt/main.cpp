// The editor: one window over the window model. Qt's own options are taken
// by Qt; the one argument left is a mission file to load at start, named by
// its bytes. The start folder is chosen from the current directory, that
// file's folder and the game folder remembered from an earlier session.

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <future>
#include <optional>
#include <tuple>
#include <vector>

#include "ui/StartFolder.h"
#include "ui/WindowModel.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtFileDialog.h"
#include "ui/qt/SessionEnd.h"
#include "ui/qt/SettingsFile.h"
#include "ui/qt/Widgets.h"

#ifndef KESTRANE_VERSION
#define KESTRANE_VERSION "0"
#endif

namespace {

namespace fs = std::filesystem;
const QString kGameFolderKey = QStringLiteral("game/folder");

bool Is(const char* arg, std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (std::strcmp(arg, name) == 0) return true;
    return false;
}

// --help and --version print without a display, before Qt is started.
std::optional<int> PrintHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (Is(argv[i], {"-v", "--version"})) {
            std::printf("kestrane %s\n", KESTRANE_VERSION);
            return 0;
        }
        if (!Is(argv[i], {"-h", "--help", "-help", "--help-all"})) continue;
        QCommandLineParser parser;
        parser.setApplicationDescription(QStringLiteral(
            "Edit the settings of a .msn mission file. The catalogues planes.txt, targets.txt and blocks.txt are "
            "read from the start folder, and missions are saved into it: the current folder when it holds them, "
            "else FILE's folder, else the game folder chosen in an earlier session. Qt's standard options "
            "(-style, -platform, -display, ...) are taken too; see kestrane(1)."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A mission file to load at start-up."),
                                     QStringLiteral("[FILE]"));
        std::fputs(qUtf8Printable(parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("kestrane"))),
                   stdout);
        return 0;
    }
    return std::nullopt;
}

struct CommandLine {
    std::string file;  // the file system's bytes
    std::string error;
};

// What Qt left of the command line: at most one file; "--" ends the options.
CommandLine ReadCommandLine(int argc, char** argv) {
    CommandLine line;
    std::vector<std::string> files;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options && arg == "--") options = false;
        else if (options && arg.size() > 1 && arg[0] == '-') return {{}, "unknown option " + arg + " (see kestrane --help)"};
        else files.push_back(arg);
    }
    if (files.size() > 1) return {{}, "give at most one mission file (" + std::to_string(files.size()) + " were given)"};
    if (!files.empty()) line.file = files.front();
    return line;
}

fs::path RememberedFolder() { return QSettings().value(kGameFolderKey).toByteArray().toStdString(); }

const QString kAppId = QStringLiteral("org.kestrane.MissionMaker");

// Docks and task bars tie a window to its launcher by its window class,
// which must then be the application id, as the desktop entry's
// StartupWMClass says. Qt takes the class from the application's name,
// and the instance from RESOURCE_NAME, once, when the first window is made;
// the settings and the data folder keep the name "kestrane".
void TieWindowsToLauncher(QWidget& first) {
    const QString name = QCoreApplication::applicationName();
    const bool hadResourceName = qEnvironmentVariableIsSet("RESOURCE_NAME");
    if (!hadResourceName) qputenv("RESOURCE_NAME", kAppId.toUtf8());
    QCoreApplication::setApplicationName(kAppId);
    first.winId();
    QCoreApplication::setApplicationName(name);
    if (!hadResourceName) qunsetenv("RESOURCE_NAME");
}

// While the application starts, Qt's messages are held back: when no window
// system can be reached, Qt would end the process with an abort and several
// lines; the editor says so in one line and exits with 2 instead.
QtMessageHandler qtHandler = nullptr;
std::vector<std::tuple<QtMsgType, QString>> heldBack;

void HoldBackWhileStarting(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) {
        heldBack.emplace_back(type, message);
        return;
    }
    const char* display = std::getenv("DISPLAY");
    const std::string which = display != nullptr && *display != '\0'
                                  ? std::string("the display ") + display + " could not be opened"
                                  : "no display was found (DISPLAY is not set)";
    std::fprintf(stderr, "kestrane: %s: start it in a desktop session, or with -platform offscreen to run it without one\n",
                 which.c_str());
    std::_Exit(2);
}

void StopHoldingBack() {
    qInstallMessageHandler(qtHandler);
    for (const auto& [type, message] : heldBack)
        if (qtHandler != nullptr) qtHandler(type, QMessageLogContext(), message);
        else std::fprintf(stderr, "%s\n", qUtf8Printable(message));
    heldBack.clear();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setOrganizationName(QStringLiteral("kestrane"));
    QCoreApplication::setApplicationName(QStringLiteral("kestrane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRANE_VERSION));
    if (const std::optional<int> printed = PrintHelpOrVersion(argc, argv)) return *printed;

    // Started in a game folder, its catalogues are read on a thread of their
    // own while the window system starts up.
    const fs::path current = fs::current_path();
    std::optional<std::future<kestrane::Catalogues>> early;
    if (kestrane::HoldsCatalogues(current)) early = kestrane::ReadCataloguesMeanwhile(current);

    qtHandler = qInstallMessageHandler(HoldBackWhileStarting);
    QApplication app(argc, argv);  // takes Qt's own options out of argv
    StopHoldingBack();
    const QString settingsNote = kestrane::GuardSettingsFile();
    const CommandLine line = ReadCommandLine(argc, argv);
    if (!line.error.empty()) {
        std::fprintf(stderr, "kestrane: %s\n", line.error.c_str());
        return 2;
    }
    QGuiApplication::setDesktopFileName(kAppId);
    QApplication::setWindowIcon(kestrane::AppIcon());

    // The window's font is chosen, and its face loaded, while the catalogues
    // are still being read.
    const QFont font = kestrane::WindowFont();
    const kestrane::StartFolder start = kestrane::ChooseStartFolder(current, line.file, RememberedFolder());
    kestrane::Catalogues catalogues = early ? early->get() : kestrane::ReadCatalogues(start.folder);
    if (start.isGameFolder) QSettings().setValue(kGameFolderKey, QByteArray::fromStdString(start.folder.string()));

    kestrane::QtFileDialog dialog;
    kestrane::WindowModel model(dialog, std::move(catalogues));
    if (!start.isGameFolder) model.Say(start.note);  // in place of a note for each missing catalogue
    if (!line.file.empty()) model.Open(line.file);
    // After the load, so that what the load says does not hide it.
    if (const std::string& said = model.Text(kestrane::ControlId::StatusLine); !settingsNote.isEmpty())
        model.Say((said.empty() ? said : said + " ") + settingsNote.toStdString());
    kestrane::MainWindow window(model, font);
    dialog.SetParent(&window);
    // A session ended by a signal keeps its unsaved work like a close does.
    kestrane::SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &kestrane::SessionEnd::requested, &window, &kestrane::MainWindow::EndSession);
    TieWindowsToLauncher(window);
    window.show();
    return QApplication::exec();
}
