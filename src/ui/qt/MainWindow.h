#pragma once
// The editor's one window: a menu bar, the sheet with a widget for every
// control of the window model at its place in the arrangement, and below
// it the status bar that holds the status line and the checksums. Each
// widget event is forwarded to the model (a click with its member index, a
// key with its character code, a typed text, a list selection), and
// afterwards the window shows the model's state again: captions, texts,
// selections, check state, the status line and the title.

#include <QFont>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QRect>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/Arrangement.h"
#include "ui/KeptWork.h"
#include "ui/WindowModel.h"
#include "ui/qt/KeptWorkFolder.h"
#include "ui/qt/WindowFont.h"

class QAction;
class QButtonGroup;
class QGroupBox;
class QMenu;
class QStatusBar;
class QStyle;
class QTableView;
class QTimer;

namespace kestrane {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // A window over a model that the caller owns and keeps alive.
    explicit MainWindow(WindowModel& model, const QFont& font = WindowFont());
    ~MainWindow() override;

    WindowModel& Model() const { return model_; }
    class InspectorWindow* Inspector() const { return inspector_; }
    class MissionBrowser* Missions() const { return missions_; }
    KeptWork& Kept() const { return *kept_; }
    // The sheet of controls, inside a scroll area on a screen too small for it.
    QWidget* Sheet() const { return sheet_; }

    // Shows the model's state; a widget changes only where it differs.
    void Refresh();
    // The session ends (a signal, the session manager): the unsaved work is
    // kept, the window closes and the application quits, whatever happens.
    void EndSession();
    // Fits the window into a screen's available room: when the window is
    // larger, the sheet scrolls and the status bar stays in view.
    void FitInto(const QSize& available);
    // Makes the folder the start folder, as File, Choose game folder does.
    void ChooseGameFolder(const QString& folder);

protected:
    // Closing never asks: unsaved work is kept for the next start.
    void closeEvent(QCloseEvent* event) override;
    // The inspector opens with the window when it was open at the last close.
    void showEvent(QShowEvent* event) override;
    // A mission file dropped on the window loads as if chosen in the dialog.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Tab and Shift+Tab visit an option group once, landing on its chosen
    // button.
    bool focusNextPrevChild(bool next) override;

private:
    // ---- The sheet and the status bar (MainWindow.cpp) ----
    void BuildSheet(const QFont& font);
    QWidget* MakeWidget(const Placement& placement, QWidget* parent);
    // The box an option group's buttons stand in, within its frame, when the
    // group shares the frame with other controls; null otherwise.
    QWidget* GroupBoxOf(ControlId group, QWidget* frame);
    QWidget* MakeFrame(ControlId id, QWidget* parent);
    QWidget* MakeLabel(ControlId id, QWidget* parent);
    QWidget* MakeButton(ControlId id, QWidget* parent);
    QWidget* MakeTextBox(ControlId id, QWidget* parent);
    QWidget* MakeCheckBox(ControlId id, QWidget* parent);
    QWidget* MakeOptionButton(ControlId id, int member, QWidget* parent);
    QWidget* MakeList(ControlId id, QWidget* parent);
    void ShowEntryMenu(ControlId list, QTableView* view);
    void ShowTitle();
    // The sheet at a zoom in percent; Zoom steps in (1), out (-1) or back
    // to the actual size (0), remembers it and says so.
    void ApplyZoom(int percent);
    void FollowSheetAcross();
    void Zoom(int direction);

    // ---- Menus and their actions (WindowActions.cpp) ----
    void CreateMenus();
    QAction* AddAction(QMenu* menu, const QString& text, const QList<QKeySequence>& keys,
                       const std::function<void()>& run);
    void ShowRecent();
    void KeepRecent();
    void AskForGameFolder();
    void ShowKeys();
    void ShowAbout();

    // ---- Unsaved work ----
    // Tells at start-up of unsaved work kept from earlier sessions.
    void OfferKeptWork();
    void RestoreKeptWork();
    // The work may have changed: the keep it makes due is woken for.
    void KeepSoon();
    // Wakes the policy's clock when its next keep is due.
    void WakeForKeep();

    void PlaceSecondWindow(QWidget* window);
    void ToggleInspector();
    // The missions of the start folder (F3), made when first opened.
    void ToggleMissions();
    // Selects in the inspector the rows of the field the focused control edits.
    void FollowFocus(QWidget* now);
    // Runs one event of the model, then shows the model's state.
    void Forward(const std::function<void()>& event);
    void AnnounceSaid();

    WindowModel& model_;
    QWidget* sheet_ = nullptr;
    QStatusBar* strip_ = nullptr;
    class StatusLineLabel* statusLine_ = nullptr;
    std::unique_ptr<QStyle> sheetStyle_;  // for the frames and the option and check buttons
    std::vector<std::function<void()>> refreshers_;
    std::vector<std::pair<QWidget*, QRect>> placed_;  // each widget's place at 100 %
    QFont font_;                                      // the font at 100 %
    int zoom_ = kActualSize;
    std::map<ControlId, QButtonGroup*> groups_;
    std::map<ControlId, QGroupBox*> groupBoxes_;
    std::map<QWidget*, ControlId> controlOf_;    // the control each widget shows
    std::map<ControlId, unsigned> commitsSeen_;  // each box's commits its typing history ended at
    QMenu* recentMenu_ = nullptr;
    std::vector<std::string> recentShown_;
    QWidget* keysWindow_ = nullptr;
    QWidget* aboutWindow_ = nullptr;
    std::unique_ptr<KeptWorkFolder> store_;
    std::unique_ptr<KeptWork> kept_;
    QTimer* keepTimer_ = nullptr;
    QTimer* announceTimer_ = nullptr;
    QElapsedTimer clock_;  // the kept-work policy's clock
    class InspectorWindow* inspector_ = nullptr;
    class MissionBrowser* missions_ = nullptr;
    bool closeRefused_ = false;
    unsigned saidAnnounced_ = 0;
};

}  // namespace kestrane
