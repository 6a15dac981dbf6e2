#pragma once
// The file-open dialog of the window model, shown as a Qt file dialog.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <string_view>

#include "ui/Controls.h"

namespace kestrane {

// Turns a filter of the form "Description|pattern|Description|pattern"
// (patterns separated by ";") into Qt's "Description (pattern pattern);;...".
// A parenthesised pattern list already in a description is dropped, so
// "Mission files(*.msn) |*.msn" becomes "Mission files (*.msn)".
QString QtFilter(std::string_view filter);

class QtFileDialog : public CommonDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    // The window the dialog is shown over.
    void SetParent(QWidget* parent) { parent_ = parent; }
    // Shows a modal open dialog in InitDir with the filter and default
    // suffix; FileName is the chosen file's path afterwards, and is left as
    // it was (empty, as the window model sets it) when the user cancels.
    void ShowOpen() override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace kestrane
