#include "ui/Commands.h"

#include <array>
#include <cstddef>

namespace kestrane {

namespace {
constexpr std::array<std::string_view, static_cast<std::size_t>(Command::Count)> kCaptions{{
    "&Load\u2026", "&New mission", "&Save", "Save &As\u2026", "Choose &game folder\u2026", "&Undo", "&Redo", "&Missions",
    "&Inspector", "&Restore unsaved work", "&Keyboard shortcuts",
}};

constexpr SheetKey kSheetKeys[] = {
    {"Tab, Shift+Tab", "Next or previous control"},
    {"Arrow keys", "Choose within an option group, or move in a list"},
    {"Enter", "Store a box's value"},
    {"Space or Enter on a slot", "Put the list's selection in the slot"},
    {"Shift+F10 or Menu on a list entry", "Put the entry in a slot: Use as ..."},
};

constexpr bool EveryCommandNamed() {
    for (const std::string_view caption : kCaptions)
        if (caption.empty()) return false;
    return true;
}
static_assert(EveryCommandNamed(), "a caption for every command, in the order of Command");
}  // namespace

std::string_view CommandCaption(Command command) { return kCaptions[static_cast<std::size_t>(command)]; }

std::span<const SheetKey> SheetKeys() { return kSheetKeys; }

std::string PlainCommandCaption(Command command) { return WithoutAccessKey(CommandCaption(command)); }

std::string WithoutAccessKey(std::string_view caption) {
    std::string plain;
    for (const char c : caption)
        if (c != '&') plain += c;
    return plain;
}

}  // namespace kestrane
