#pragma once
// The editor's one window: a widget for every control of the window model,
// placed by the arrangement table. Each widget event is forwarded to the
// model (a click with its member index, a key with its character code, a
// typed text, a list selection), and afterwards the window shows the
// model's state again: captions, texts, selections, check state and the
// status line.

#include <QWidget>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "ui/Arrangement.h"
#include "ui/Form1.h"

class QButtonGroup;
class QStyle;

namespace kestrane {

class ListItems;
class QtFileDialog;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // A window with its own model and file dialog, started in the current
    // directory.
    MainWindow();
    // A window over a model that the caller owns and keeps alive.
    explicit MainWindow(Form1& form, QWidget* parent = nullptr);
    ~MainWindow() override;

    Form1& Model() const { return form_; }

    // Shows the model's state; a widget changes only where it differs.
    void Refresh();

    // A widget's object name: the control's name, or for a member of a
    // control array the name, "_" and the index ("AltText_0", "Frame1_19").
    static QString ObjectName(std::string_view name, int index);

private:
    struct Owned;
    explicit MainWindow(std::unique_ptr<Owned> owned);

    void Build();
    QWidget* MakeWidget(const Placement& placement, QWidget* parent);
    void FitFont();
    void AddShortcuts();
    // Runs one event of the model, then shows the model's state.
    void Forward(const std::function<void()>& event);

    Form1& form_;
    std::unique_ptr<Owned> owned_;
    std::unique_ptr<QStyle> sheetStyle_;  // for the frames and the option and check buttons
    std::vector<std::function<void()>> refreshers_;
    std::vector<QButtonGroup*> groups_;
    std::vector<ListItems*> lists_;
    int listsRevision_ = -1;
};

}  // namespace kestrane
