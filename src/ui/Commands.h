#pragma once
// The commands a window offers besides its sheet (the desktop's menus, the
// page's command bar), each named once for every view. A caption marks its
// access key with "&" before the letter.

#include <string>
#include <string_view>

namespace kestrane {

enum class Command { Load, NewMission, Save, SaveAs, ChooseGameFolder, Undo, Redo, Missions, Inspector, Count };

// "Choose &game folder…"
std::string_view CommandCaption(Command command);
// The caption without its access key mark: "Choose game folder…".
std::string PlainCommandCaption(Command command);
// Any caption without its access key mark: "&Filter:" is "Filter:".
std::string WithoutAccessKey(std::string_view caption);

}  // namespace kestrane
