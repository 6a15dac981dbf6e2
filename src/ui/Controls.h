#pragma once
// The controls of the window model: named holders of a caption, a text, a
// selected member, a check state or a list of items. A view shows them and
// forwards its events to the model's handlers.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogues/Catalogue.h"

namespace kestrane {

struct Label {
    std::string Caption;
};

struct TextBox {
    std::string Text;
};

struct Button {
    std::string Caption;
};

struct Frame {
    std::string Caption;
};

struct CheckBox {
    std::string Caption;
    int Value = 0;  // 0 clear, 1 ticked
};

// An option-button array: selecting one member clears the others.
struct OptionGroup {
    std::vector<std::string> Captions;
    int Value = -1;  // the selected member, -1 when none is
    int Count() const { return static_cast<int>(Captions.size()); }
};

// A list box. A catalogue's lines show as " n:line" items ahead of the items
// added one by one; an item's text is made when it is asked for, so a list of
// tens of thousands of places costs no more than its file.
struct ListBox {
    int ListIndex = -1;  // the selected item, -1 when none is

    void Clear() { numbered_ = {}; items_.clear(); ListIndex = -1; }
    void SetNumberedLines(CatalogueFile lines) { numbered_ = std::move(lines); }
    void AddItem(std::string item) { items_.push_back(std::move(item)); }
    int ListCount() const { return static_cast<int>(numbered_.size() + items_.size()); }
    // The item text at an index; empty past the end, as a list box answers.
    std::string List(int index) const {
        if (index < 0) return {};
        const auto i = static_cast<std::size_t>(index);
        if (i < numbered_.size()) return CatalogueItem(i, numbered_.line(i));
        return i - numbered_.size() < items_.size() ? items_[i - numbered_.size()] : std::string();
    }

private:
    CatalogueFile numbered_;
    std::vector<std::string> items_;
};

// The file-open dialog. A view supplies a real one; tests script it.
class CommonDialog {
public:
    virtual ~CommonDialog() = default;
    std::string InitDir;
    std::string Filter;
    std::string DefaultExt;
    std::string FileName;
    // Shows the open dialog; FileName is the chosen path afterwards, or stays
    // empty when the user cancels.
    virtual void ShowOpen() = 0;
};

inline constexpr int kEnterKey = 13;

}  // namespace kestrane
