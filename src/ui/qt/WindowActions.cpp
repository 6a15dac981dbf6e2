// The window's menus and what their actions do beyond forwarding to the
// model: the recent missions, the game folder, the keys and the about window.

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>

#include "mission/Charset.h"
#include "ui/Commands.h"
#include "ui/qt/FileNames.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/Widgets.h"

#ifndef KESTRANE_VERSION
#define KESTRANE_VERSION "0"
#endif

namespace kestrane {

namespace {

using C = ControlId;

const QString kRecentKey = QStringLiteral("recent/missions");

QKeySequence Keys(QKeyCombination combination) { return QKeySequence(combination); }

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString CaptionOf(Command command) { return Utf8(CommandCaption(command)); }

// A small window of the main window's, with a close button and Escape.
QWidget* MakeHelpWindow(QWidget* parent, const QString& title, QWidget* content) {
    auto* window = new QWidget(parent, Qt::Window);
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(content);
    auto* close = new QPushButton(QStringLiteral("&Close"), window);
    close->setAutoDefault(false);
    QObject::connect(close, &QPushButton::clicked, window, &QWidget::close);
    layout->addWidget(close, 0, Qt::AlignRight);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
    return window;
}

}  // namespace

QAction* MainWindow::AddAction(QMenu* menu, const QString& text, const QList<QKeySequence>& keys,
                               const std::function<void()>& run) {
    QAction* action = menu->addAction(text);
    action->setShortcuts(keys);
    // Every key of the menus works from each of the program's windows.
    action->setShortcutContext(Qt::ApplicationShortcut);
    connect(action, &QAction::triggered, this, run);
    return action;
}

void MainWindow::CreateMenus() {
    auto click = [this](ControlId command) { return [this, command] { Forward([this, command] { model_.Click(command); }); }; };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    auto run = [this](void (WindowModel::*event)()) {
        WindowModel* model = &model_;  // the innermost lambda takes the model itself, not this
        return [this, model, event] { Forward([model, event] { (model->*event)(); }); };
    };
    AddAction(file, CaptionOf(Command::Load), {Keys(Qt::CTRL | Qt::Key_O)}, click(C::LoadButton));
    AddAction(file, CaptionOf(Command::NewMission), {Keys(Qt::CTRL | Qt::Key_N)}, run(&WindowModel::NewMissionShown));
    AddAction(file, CaptionOf(Command::Save), {Keys(Qt::CTRL | Qt::Key_S)}, run(&WindowModel::SaveToOwnFile));
    AddAction(file, CaptionOf(Command::SaveAs), {Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, run(&WindowModel::SaveAs));
    recentMenu_ = file->addMenu(QStringLiteral("Recent &missions"));
    AddAction(file, CaptionOf(Command::ChooseGameFolder), {}, [this] { AskForGameFolder(); });
    file->addSeparator();
    AddAction(file, CaptionOf(Command::RestoreWork), {Keys(Qt::CTRL | Qt::Key_R)}, [this] { RestoreKeptWork(); });
    file->addSeparator();
    AddAction(file, QStringLiteral("&Quit"), {Keys(Qt::CTRL | Qt::Key_Q)}, [this] { close(); });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    // A text box being typed in takes these first, for its own undo and redo.
    AddAction(edit, CaptionOf(Command::Undo), {Keys(Qt::CTRL | Qt::Key_Z)}, [this] { Forward([this] { model_.Undo(); }); });
    AddAction(edit, CaptionOf(Command::Redo), {Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), Keys(Qt::CTRL | Qt::Key_Y)},
              [this] { Forward([this] { model_.Redo(); }); });

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    AddAction(view, QStringLiteral("Zoom &in"), {Keys(Qt::CTRL | Qt::Key_Plus), Keys(Qt::CTRL | Qt::Key_Equal)},
              [this] { Zoom(1); });
    AddAction(view, QStringLiteral("Zoom &out"), {Keys(Qt::CTRL | Qt::Key_Minus)}, [this] { Zoom(-1); });
    AddAction(view, QStringLiteral("&Actual size"), {Keys(Qt::CTRL | Qt::Key_0)}, [this] { Zoom(0); });
    view->addSeparator();
    AddAction(view, CaptionOf(Command::Inspector), {Keys(QKeyCombination(Qt::Key_F2))}, [this] { ToggleInspector(); });
    AddAction(view, CaptionOf(Command::Missions), {Keys(QKeyCombination(Qt::Key_F3))}, [this] { ToggleMissions(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    AddAction(help, CaptionOf(Command::Keys), {Keys(QKeyCombination(Qt::Key_F1))}, [this] { ShowKeys(); });
    AddAction(help, QStringLiteral("&About Kestrane Mission maker"), {}, [this] { ShowAbout(); });

    // The list kept from earlier sessions, under what this one has opened already.
    std::vector<std::string> kept;
    for (const QVariant& path : QSettings().value(kRecentKey).toList()) kept.push_back(path.toByteArray().toStdString());
    RecentFiles recent(kept);
    const std::vector<std::string>& opened = model_.Recent().Files();
    for (auto it = opened.rbegin(); it != opened.rend(); ++it) recent.Add(*it);
    model_.SetRecent(std::move(recent));
}

// The recent missions menu, rebuilt when the list changes, which is kept
// for the next start.
void MainWindow::ShowRecent() {
    const std::vector<std::string>& files = model_.Recent().Files();
    if (files == recentShown_) return;
    recentShown_ = files;
    recentMenu_->clear();
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i];
        const QString shown = QString::fromStdString(ReadableText(std::filesystem::path(path).filename().string()));
        QAction* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(PlainCaption(shown.toStdString())));
        action->setToolTip(QString::fromStdString(ReadableText(path)));
        connect(action, &QAction::triggered, this, [this, path] { Forward([this, &path] { model_.OpenRecent(path); }); });
    }
    recentMenu_->setEnabled(!files.empty());
    KeepRecent();
}

void MainWindow::KeepRecent() {
    QVariantList paths;
    for (const std::string& path : recentShown_) paths.append(QByteArray::fromStdString(path));
    QSettings().setValue(kRecentKey, paths);
}

void MainWindow::AskForGameFolder() {
    QFileDialog dialog(this, QStringLiteral("Choose game folder"),
                       QFile::decodeName(QByteArray::fromStdString(model_.StartDir())));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (ExecDialog(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        ChooseGameFolder(dialog.selectedFiles().front());
}

// Every key of the window: the menus' shortcuts, then the keys of the sheet.
void MainWindow::ShowKeys() {
    if (keysWindow_ == nullptr) {
        QList<QPair<QString, QString>> rows;
        for (const QAction* menu : menuBar()->actions())
            for (const QAction* action : menu->menu()->actions())
                if (!action->shortcuts().isEmpty()) {
                    QStringList keys;
                    for (const QKeySequence& key : action->shortcuts()) keys << key.toString(QKeySequence::NativeText);
                    rows.append({keys.join(QStringLiteral(", ")), action->text().remove(u'&').remove(u'\u2026')});
                }
        for (const SheetKey& key : SheetKeys()) rows.append({Utf8(key.keys), Utf8(key.action)});
        rows.append({QStringLiteral("Alt"), QStringLiteral("The menus")});
        auto* table = new QTableWidget(static_cast<int>(rows.size()), 2);
        table->setObjectName(QStringLiteral("KeysTable"));
        const QString title = CaptionOf(Command::Keys).remove(u'&');
        table->setAccessibleName(title);
        table->setHorizontalHeaderLabels({Utf8(kKeysColumn), Utf8(kActionColumn)});
        table->verticalHeader()->hide();
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setTabKeyNavigation(false);
        for (int row = 0; row < rows.size(); ++row) {
            table->setItem(row, 0, new QTableWidgetItem(rows[row].first));
            table->setItem(row, 1, new QTableWidgetItem(rows[row].second));
        }
        // The keys' column as wide as its widest entry; the actions wrap in
        // the rest, so nothing scrolls sideways or is cut.
        table->setWordWrap(true);
        table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        table->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
        table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
        table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
        table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        keysWindow_ = MakeHelpWindow(this, title, table);
        keysWindow_->resize(table->horizontalHeader()->sectionSize(0) + 360, 460);
    }
    if (!keysWindow_->isVisible()) PlaceSecondWindow(keysWindow_);
    keysWindow_->show();
    keysWindow_->activateWindow();
}

void MainWindow::ShowAbout() {
    if (aboutWindow_ == nullptr) {
        auto* text = new QLabel(
            QStringLiteral("Kestrane Mission maker %1\n\nEdits the settings of the .msn mission files of a World War II "
                           "combat flight simulator.\n\nMIT licence: see the file LICENSE (installed as "
                           "/usr/share/doc/kestrane/copyright).\n\nQt %2 (built with %3).")
                .arg(QStringLiteral(KESTRANE_VERSION), QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR)));
        text->setObjectName(QStringLiteral("AboutText"));
        text->setWordWrap(true);
        // Read-only text that can be copied with the mouse; it takes the
        // focus, so a screen reader reads it, but shows no text cursor.
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        text->setFocusPolicy(Qt::StrongFocus);
        text->setAccessibleName(text->text());
        aboutWindow_ = MakeHelpWindow(this, QStringLiteral("About Kestrane Mission maker"), text);
        aboutWindow_->resize(420, 220);
    }
    if (!aboutWindow_->isVisible()) PlaceSecondWindow(aboutWindow_);
    aboutWindow_->show();
    aboutWindow_->activateWindow();
}

}  // namespace kestrane
