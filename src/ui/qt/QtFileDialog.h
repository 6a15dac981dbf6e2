#pragma once
// The file-open dialog of the window model, shown as a Qt file dialog.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <string_view>

#include "ui/WindowModel.h"

namespace kestrane {

// Turns a filter of the form "Description|pattern|Description|pattern"
// (patterns separated by ";") into Qt's "Description (pattern pattern);;...".
// A parenthesised pattern list already in a description is dropped, so
// "Mission files(*.msn) |*.msn" becomes "Mission files (*.msn)".
QString QtFilter(std::string_view filter);

class QtFileDialog : public OpenDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    // The window the dialog is shown over.
    void SetParent(QWidget* parent) { parent_ = parent; }
    // Shows a modal open dialog in the folder with the filter and default
    // suffix; returns the chosen file's path, or empty when cancelled.
    std::string ChooseFile(const std::string& folder, std::string_view filter, std::string_view suffix) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace kestrane
