#pragma once
// The editor's one window: a widget for every control of the window model,
// placed by the arrangement table. Each widget event is forwarded to the
// model (a click with its member index, a key with its character code, a
// typed text, a list selection), and afterwards the window shows the
// model's state again: captions, texts, selections, check state and the
// status line.

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "ui/Arrangement.h"
#include "ui/WindowModel.h"
#include "ui/KeptWork.h"
#include "ui/qt/KeptWorkFolder.h"
#include "ui/qt/WindowFont.h"

class QButtonGroup;
class QTimer;
class QStyle;

namespace kestrane {

class MainWindow : public QWidget {
    Q_OBJECT
public:
    class InspectorWindow* Inspector() const { return inspector_; }
    // A window over a model that the caller owns and keeps alive.
    explicit MainWindow(WindowModel& model, const QFont& font = WindowFont());
    ~MainWindow() override;

    WindowModel& Model() const { return model_; }

    // Shows the model's state; a widget changes only where it differs.
    void Refresh();
    // The session ends (a signal, the session manager): the unsaved work is
    // kept, the window closes and the application quits, whatever happens.
    void EndSession();
    KeptWork& Kept() const { return *kept_; }

protected:
    // Closing never asks: unsaved work is kept for the next start.
    void closeEvent(QCloseEvent* event) override;
    // The inspector opens with the window when it was open at the last close.
    void showEvent(QShowEvent* event) override;
    // A mission file dropped on the window loads as if chosen in the dialog.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Tab and Shift+Tab visit an option group once, landing on its chosen
    // button, as with option buttons everywhere.
    bool focusNextPrevChild(bool next) override;

private:
    void Build();
    QWidget* MakeWidget(const Placement& placement, QWidget* parent);
    QWidget* MakeFrame(ControlId id, QWidget* parent);
    QWidget* MakeLabel(ControlId id, QWidget* parent);
    QWidget* MakeButton(ControlId id, QWidget* parent);
    QWidget* MakeTextBox(ControlId id, QWidget* parent);
    QWidget* MakeCheckBox(ControlId id, QWidget* parent);
    QWidget* MakeOptionButton(ControlId id, int member, QWidget* parent);
    QWidget* MakeList(ControlId id, QWidget* parent);
    void FitFont();
    void AddShortcuts();
    void AddShortcut(const QKeySequence& key, const std::function<void()>& action);
    // Tells at start-up of unsaved work kept from earlier sessions.
    void OfferKeptWork();
    void RestoreKeptWork();
    // Keeps the unsaved work within a moment of a change, off the typing path.
    void KeepSoon();
    // Keeps it now; false (and said once in the status line) when it could not.
    bool KeepNow();
    void ToggleInspector();
    // Selects in the inspector the rows of the field the focused control edits.
    void FollowFocus(QWidget* now);
    // Runs one event of the model, then shows the model's state.
    void Forward(const std::function<void()>& event);

    WindowModel& model_;
    std::unique_ptr<QStyle> sheetStyle_;  // for the frames and the option and check buttons
    std::vector<std::function<void()>> refreshers_;
    std::map<ControlId, QButtonGroup*> groups_;
    std::unique_ptr<KeptWorkFolder> store_;
    std::unique_ptr<KeptWork> kept_;
    QTimer* keepTimer_ = nullptr;
    std::string keepError_;  // the last reason the work could not be kept
    class InspectorWindow* inspector_ = nullptr;
    std::map<QWidget*, ControlId> controlOf_;  // the control each widget shows
    std::map<ControlId, unsigned> commitsSeen_;  // each box's commits its typing history ended at
    bool closeRefused_ = false;
};

}  // namespace kestrane
