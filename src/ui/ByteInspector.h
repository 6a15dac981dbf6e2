#pragma once
// The mission image byte by byte, for the inspector: each offset's byte, the
// field it belongs to and the description of its settings block, whether it
// differs from the last load or new mission, and from a second mission
// loaded for comparison.

#include <optional>
#include <string>
#include <string_view>

#include "mission/Fields.h"
#include "ui/WindowModel.h"

namespace kestrane {

class ByteInspector {
public:
    explicit ByteInspector(const WindowModel& model) : model_(model) {}

    struct Row {
        int offset;
        std::uint8_t byte;
        std::string character;  // the byte as a Windows-1252 character, empty for control codes
        std::string field;      // "YearSetting", "AttackPlane2Type (byte 2 of 4)", empty for pass-through
        std::string block;      // the settings block's description from blocks.txt
        bool changed;           // differs from the last load or new mission
        std::optional<std::uint8_t> compared;  // the comparison mission's byte
        bool differs;           // differs from the comparison mission
        // Shown in bold: changed since the load, or differing from the
        // comparison (each also marked in its own column, so that the
        // marking reads without the bold).
        bool Marked() const { return changed || differs; }
    };
    Row RowAt(int offset) const;

    // Loads a second mission for comparison; returns the status line's
    // sentence. A file that cannot be read leaves the comparison as it was.
    std::string Compare(const std::string& path);

private:
    const WindowModel& model_;
    std::optional<MissionBytes> compared_;
};

// The inspector's columns, each view's table alike: their titles and each
// row's text in them.
enum class InspectorColumn { Offset, OffsetHex, ByteHex, Byte, Character, FieldName, Block, Changed, ComparedHex, Differs, Count };
inline constexpr int kInspectorColumns = static_cast<int>(InspectorColumn::Count);
inline constexpr std::string_view kInspectorName = "Mission bytes";
// The inspector's button that compares the window's mission with a file
// (on the page, one on each mission, and the title of their column).
inline constexpr std::string_view kCompareCaption = "Compare with...";
std::string_view InspectorTitle(InspectorColumn column);
// "272", "110", "03", "3", the character, the field, the block, "changed",
// the comparison's byte in hexadecimal, "differs".
std::string InspectorText(const ByteInspector::Row& row, InspectorColumn column);

}  // namespace kestrane
