#pragma once
// A session's unsaved work as it is kept across the end of a session: only
// what is the user's own (the mission's 400 bytes, the image as last loaded
// or saved, the text of every box and the two list selections), plus where
// it came from. Everything else the window shows is derived again from the
// image and the catalogues of the day when the work is restored.
//
// As text it is JSON with a checksum over the whole, so a damaged or cut
// text is refused whole, never taken in part. Reading a text is hostile
// input handling: any parse, type or range error is an answer, not a throw.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "mission/MissionImage.h"
#include "ui/Controls.h"

namespace kestrane {

struct UnsavedWork {
    std::string savedAt;  // "2026-12-07 12:03:05.123": sorts by time
    std::string folder;   // the start folder of the session that kept it
    std::string file;     // the file last loaded or saved there; may be empty
    MissionBytes image{};
    MissionBytes clean{};  // the image as last loaded, made new or saved
    // Each box's text, in the order of kBoxControls, then the file name box.
    std::array<std::string, std::tuple_size_v<decltype(kBoxControls)>> boxes;
    std::string fileName;
    int aircraft = -1;  // the selected list entries, -1 for none
    int place = -1;

    // The same work, whenever it was kept.
    bool SameWork(const UnsavedWork& other) const;
    // The mission's name as the user last typed it, else as the image holds it.
    std::string Name() const;
};

std::string WorkText(const UnsavedWork& work);
// The longest text a kept work may be: a longer one is neither written nor
// read, so whatever is kept can be read back.
constexpr std::size_t kLargestWorkText = 1 << 20;

struct WorkReading {
    std::optional<UnsavedWork> work;
    std::string error;  // why the text is not a whole kept work of this editor
};
// Never throws. Texts of this editor's earlier format are read too.
WorkReading ReadWorkText(std::string_view text) noexcept;

}  // namespace kestrane
