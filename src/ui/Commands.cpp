#include "ui/Commands.h"

#include <array>
#include <cstddef>

namespace kestrane {

namespace {
constexpr std::array<std::string_view, static_cast<std::size_t>(Command::Count)> kCaptions{{
    "&Load\u2026", "&New mission", "&Save", "Save &As\u2026", "Choose &game folder\u2026", "&Undo", "&Redo", "&Missions",
    "&Inspector",
}};

constexpr bool EveryCommandNamed() {
    for (const std::string_view caption : kCaptions)
        if (caption.empty()) return false;
    return true;
}
static_assert(EveryCommandNamed(), "a caption for every command, in the order of Command");
}  // namespace

std::string_view CommandCaption(Command command) { return kCaptions[static_cast<std::size_t>(command)]; }

std::string PlainCommandCaption(Command command) { return WithoutAccessKey(CommandCaption(command)); }

std::string WithoutAccessKey(std::string_view caption) {
    std::string plain;
    for (const char c : caption)
        if (c != '&') plain += c;
    return plain;
}

}  // namespace kestrane
