#include "ui/ShownImage.h"

#include <array>

#include "editors/Settings.h"
#include "mission/Charset.h"
#include "mission/Checksum.h"
#include "mission/Hex.h"
#include "ui/Controls.h"

namespace kestrane {

namespace {

using C = ControlId;

std::string Decimal(std::uint64_t value) { return std::to_string(value); }

constexpr std::array<ControlId, 4> kChecksumBytes{C::ChecksumByte0, C::ChecksumByte1, C::ChecksumByte2,
                                                  C::ChecksumByte3};

ShownControl Text(ControlId id, std::string text) { return {id, std::move(text), std::nullopt}; }

}  // namespace

Shown ChecksumShown(const MissionImage& image) {
    const std::uint32_t checksum = MissionChecksum(image.Bytes());
    Shown shown{Text(C::ChecksumDecimal, std::to_string(static_cast<std::int32_t>(checksum))),
                Text(C::ChecksumHex, Hex(checksum))};
    for (int k = 0; k < 4; ++k)
        shown.push_back(Text(kChecksumBytes[static_cast<std::size_t>(k)], Decimal((checksum >> (8 * k)) & 0xFFu)));
    return shown;
}

Shown LoadedLabelsShown(const MissionImage& image, const std::string& path) {
    Shown shown{Text(C::LoadedPath, ReadableText(path))};
    for (ShownControl& checksum : ChecksumShown(image)) shown.push_back(std::move(checksum));
    std::string storedBytes;
    for (int k = 0; k < kStoredChecksumField.width; ++k) storedBytes += Hex(image.U8(kStoredChecksumField.offset + k));
    shown.push_back(Text(C::StoredChecksumDecimal, Decimal(StoredChecksum(image.Bytes()))));
    shown.push_back(Text(C::StoredChecksumBytes, storedBytes));
    shown.push_back(Text(C::LoadedName, MissionName(image)));
    shown.push_back({C::InstantActionBox, std::nullopt, InstantAction(image) ? 1 : 0});
    return shown;
}

Shown PicksShown(const MissionImage& image, const ShownLists& lists) {
    Shown shown;
    for (const PlaceControl& place : kPlaceControls) {
        const int n = image.U16(place.place->field->offset);
        shown.push_back(Text(place.name, lists.places.Item(n)));
        shown.push_back(Text(place.number, Decimal(static_cast<std::uint64_t>(n))));
    }
    for (const SlotControl& slot : kSlotControls) {
        const StoredAircraft stored = ReadAircraft(image, *slot.slot);
        shown.push_back(Text(slot.name, stored.kind == Pick::Kind::Random ? "Random"
                                        : stored.kind == Pick::Kind::None ? "None"
                                                                          : lists.aircraft.Item(stored.position)));
        shown.push_back(Text(slot.number, Decimal(static_cast<std::uint64_t>(stored.position))));
    }
    return shown;
}

Shown SettingsShown(const MissionImage& image, const ShownLists& lists) {
    Shown shown;
    for (const OptionControl& option : kOptionControls)
        if (const int v = image.U8(option.setting->field->offset); v < option.setting->count)
            shown.push_back({option.group, std::nullopt, v});
    for (const BoxControl& box : kBoxControls)
        if (box.number != nullptr) shown.push_back(Text(box.box, Decimal(image.Read(*box.number->field))));
    for (ShownControl& pick : PicksShown(image, lists)) shown.push_back(std::move(pick));
    return shown;
}

std::string FieldWords(const MissionImage& image, const Field& field, const ShownLists& lists) {
    auto item = [](std::string text) {
        if (!text.empty() && text.front() == ' ') text.erase(0, 1);  // " 3:Name" as "3:Name"
        return text.empty() ? std::string("(none)") : text;
    };
    switch (field.encoding) {
    case Encoding::OptionIndex:
        if (const OptionSetting* option = SettingFor(field).option; option && image.U8(field.offset) < option->count) {
            std::string_view caption = option->captions[image.U8(field.offset)];
            while (caption.ends_with(' ')) caption.remove_suffix(1);
            return std::string(caption);
        }
        return Decimal(image.U8(field.offset));
    case Encoding::InstantFlag: return InstantAction(image) ? "on" : "off";
    case Encoding::Name: return "\"" + MissionName(image) + "\"";
    case Encoding::PlaceCode: return item(lists.places.Item(image.U16(field.offset)));
    case Encoding::AircraftCode:
    case Encoding::AircraftPosition:
        if (const AircraftSlot* slot = SettingFor(field).slot) {
            const StoredAircraft stored = ReadAircraft(image, *slot);
            if (stored.kind != Pick::Kind::Entry) return std::string(CodeName(stored.kind));
            return item(lists.aircraft.Item(stored.position));
        }
        return Decimal(image.U32(field.offset));
    case Encoding::Count: return Decimal(image.U8(field.offset));
    default: return Decimal(image.U32(field.offset));
    }
}

std::string BoxWords(const MissionImage& image, const Field& field, const ShownLists& lists) {
    return field.encoding == Encoding::Name ? MissionName(image) : FieldWords(image, field, lists);
}

}  // namespace kestrane
