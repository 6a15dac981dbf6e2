#include "ui/ByteInspector.h"

#include "mission/Charset.h"
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

}  // namespace kestrane
