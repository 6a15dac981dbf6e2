#pragma once
// The commands a window offers besides its sheet (the desktop's menus, the
// page's command bar), each named once for every view. A caption marks its
// access key with "&" before the letter.

#include <span>
#include <string>
#include <string_view>

namespace kestrane {

enum class Command {
    Load, NewMission, Save, SaveAs, ChooseGameFolder, Undo, Redo, Missions, Inspector, RestoreWork, Keys, Count
};

// "Choose &game folder…"
std::string_view CommandCaption(Command command);
// The caption without its access key mark: "Choose game folder…".
std::string PlainCommandCaption(Command command);
// Any caption without its access key mark: "&Filter:" is "Filter:".
std::string WithoutAccessKey(std::string_view caption);

// The keys of the sheet itself, the same in every view, as the list of
// keys (Command::Keys) shows them after the commands' own.
struct SheetKey {
    std::string_view keys, action;
};
std::span<const SheetKey> SheetKeys();
// The titles of that list's two columns.
constexpr std::string_view kKeysColumn = "Keys", kActionColumn = "Action";

}  // namespace kestrane
