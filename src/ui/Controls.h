#pragma once
// The controls of the window model: named holders of a caption, a text, a
// selected member, a check state or a list of items. A view shows them and
// forwards its events to the model's handlers.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

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

struct ListBox {
    std::vector<std::string> Items;
    int ListIndex = -1;  // the selected item, -1 when none is

    void Clear() { Items.clear(); ListIndex = -1; }
    void AddItem(std::string item) { Items.push_back(std::move(item)); }
    int ListCount() const { return static_cast<int>(Items.size()); }
    // The item text at an index; empty past the end, as a list box answers.
    const std::string& List(int index) const {
        static const std::string empty;
        return index >= 0 && static_cast<std::size_t>(index) < Items.size() ? Items[static_cast<std::size_t>(index)] : empty;
    }
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
