#include "ui/ByteInspector.h"

#include "mission/Charset.h"
#include "mission/Hex.h"
#include "mission/MissionFile.h"

namespace kestrane {

ByteInspector::Row ByteInspector::RowAt(int offset) const {
    const MissionImage& image = model_.Image();
    const std::uint8_t byte = image.U8(offset);
    Row row{offset, byte, {}, {}, {}, image.Loaded() && byte != model_.Origin()[static_cast<std::size_t>(offset)],
            std::nullopt, false};
    const char32_t cp = Cp1252ToUnicode(byte);
    if (cp >= 0x20 && cp != 0x7F && !(cp >= 0x80 && cp < 0xA0)) AppendUtf8(row.character, cp);
    if (const Field* field = FieldAt(offset)) {
        row.field = std::string(field->name);
        if (field->width > 1)
            row.field += " (byte " + std::to_string(offset - field->offset + 1) + " of " + std::to_string(field->width) + ")";
    }
    if (const int block = BlockOf(offset); block >= 0) row.block = model_.BlockDescription(block);
    if (compared_) {
        row.compared = (*compared_)[static_cast<std::size_t>(offset)];
        row.differs = *row.compared != byte;
    }
    return row;
}

std::string ByteInspector::Compare(const std::string& path) {
    const ReadResult read = ReadMission(path);
    if (!read.ok) return "Could not compare with " + path + ": the file " + read.error + ". Nothing was changed.";
    compared_ = read.bytes;
    int differing = 0;
    for (int offset = 0; offset < kMissionSize; ++offset) differing += RowAt(offset).differs ? 1 : 0;
    return "Comparing with " + path + ": " + std::to_string(differing) + (differing == 1 ? " byte differs." : " bytes differ.");
}

namespace {
constexpr std::string_view kInspectorTitles[kInspectorColumns] = {
    "Offset", "Hex", "Byte (hex)", "Byte", "Char", "Field", "Block", "Since load", "Compared", "Comparison"};
}  // namespace

std::string_view InspectorTitle(InspectorColumn column) { return kInspectorTitles[static_cast<int>(column)]; }

std::string InspectorText(const ByteInspector::Row& row, InspectorColumn column) {
    using I = InspectorColumn;
    switch (column) {
    case I::Offset: return std::to_string(row.offset);
    case I::OffsetHex: return Hex(static_cast<std::uint32_t>(row.offset), 3);
    case I::ByteHex: return Hex(row.byte, 2);
    case I::Byte: return std::to_string(row.byte);
    case I::Character: return row.character;
    case I::FieldName: return row.field;
    case I::Block: return row.block;
    case I::Changed: return row.changed ? "changed" : "";
    case I::ComparedHex: return row.compared ? Hex(*row.compared, 2) : "";
    case I::Differs: return row.differs ? "differs" : "";
    case I::Count: break;
    }
    return {};
}

}  // namespace kestrane
