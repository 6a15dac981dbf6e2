#include "ui/Commands.h"

#include <cstddef>

namespace kestrane {

namespace {
constexpr std::string_view kCaptions[] = {
    "&Load\u2026", "&New mission", "&Save", "Save &As\u2026", "Choose &game folder\u2026", "&Undo", "&Redo", "&Missions",
};
}  // namespace

std::string_view CommandCaption(Command command) { return kCaptions[static_cast<std::size_t>(command)]; }

std::string PlainCommandCaption(Command command) {
    std::string plain;
    for (const char c : CommandCaption(command))
        if (c != '&') plain += c;
    return plain;
}

}  // namespace kestrane
