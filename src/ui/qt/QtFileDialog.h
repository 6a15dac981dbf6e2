#pragma once
// The file dialogs of the window model, shown as Qt file dialogs.

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

class QtFileDialog : public FileDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    // The window the dialog is shown over.
    void SetParent(QWidget* parent) { parent_ = parent; }
    // Shows a modal open dialog in the folder with the filter and default
    // suffix; returns the chosen file's path, or empty when cancelled.
    std::string ChooseFile(const std::string& folder, std::string_view filter, std::string_view suffix) override;
    // Shows a modal save dialog in the folder, offering the name; the path
    // chosen, or empty when cancelled. Whether to write over a file that
    // exists is the model's to decide (it keeps a copy), so Qt does not ask.
    std::string ChooseSaveFile(const std::string& folder, const std::string& name, std::string_view filter,
                               std::string_view suffix) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace kestrane
