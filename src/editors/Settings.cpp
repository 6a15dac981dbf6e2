// The option, number, name and instant-action editors.

#include "editors/Settings.h"

#include <cmath>

#include "editors/NumberReading.h"
#include "mission/Charset.h"

namespace kestrane {

namespace {

Edit Stored(std::string message, std::vector<const Field*> written) {
    return {true, std::move(message), std::move(written)};
}

Edit Refused(std::string message) { return {false, std::move(message), {}}; }

using NameBytes = std::array<std::uint8_t, kNameLength>;

struct EncodedName {
    std::optional<NameBytes> bytes;
    std::string error;
};

EncodedName EncodeName(std::string_view text) {
    EncodedName result;
    const auto chars = DecodeUtf8(text);
    if (!chars) {
        result.error = "The mission name is not readable text; nothing was stored.";
        return result;
    }
    if (chars->size() > NameBytes{}.size()) {
        result.error = "The mission name has " + std::to_string(chars->size()) +
                       " characters; a mission file holds at most " + std::to_string(kNameLength) + ". Nothing was stored.";
        return result;
    }
    NameBytes bytes{};
    for (std::size_t i = 0; i < chars->size(); ++i) {
        const char32_t cp = (*chars)[i];
        if (cp == kNullPlaceholder) continue;  // a zero byte
        const auto code = UnicodeToCp1252(cp);
        if (!code) {
            std::string shown;
            AppendUtf8(shown, cp);
            result.error = "The mission name holds \"" + shown +
                           "\", which a mission file cannot store (Windows-1252 characters only). Nothing was stored.";
            return result;
        }
        bytes[i] = *code;
    }
    result.bytes = bytes;
    return result;
}

void WriteName(MissionImage& image, const NameBytes& bytes) {
    for (std::size_t j = 0; j < bytes.size(); ++j) image.SetU8(kMissionNameField.offset + static_cast<int>(j), bytes[j]);
}

}  // namespace

Edit ChooseOption(MissionImage& image, const OptionSetting& setting, int member) {
    if (member < 0 || member >= setting.count) return Refused(std::string(setting.title) + ": no such choice.");
    const auto index = static_cast<std::uint8_t>(member);
    image.SetU8(setting.field->offset, index);
    std::vector<const Field*> written{setting.field};
    if (setting.copy != nullptr) {
        image.SetU8(setting.copy->offset, index);
        written.push_back(setting.copy);
    }
    return Stored(std::string(setting.title) + ": " + std::string(setting.captions[index]) + ".", std::move(written));
}

NumberResult ReadWholeNumber(std::string_view caption, std::string_view text, std::uint32_t max) {
    NumberResult result;
    const double v = ReadNumber(text);
    result.value = ToWholeInRange(v, max);
    if (result.value) return result;
    std::string reads;
    if (std::isinf(v)) reads = v > 0 ? "is too large" : "is too far below 0";
    else if (v < 0) reads = "reads as " + NumberText(v) + ", below 0";
    else reads = "reads as " + NumberText(v) + ", above " + std::to_string(max);
    result.error = std::string(caption) + ": \"" + std::string(text) + "\" " + reads +
                   "; enter a whole number from 0 to " + std::to_string(max) + ". Nothing was stored.";
    return result;
}

Edit StoreNumber(MissionImage& image, const NumberSetting& setting, std::string_view text) {
    const NumberResult number = ReadWholeNumber(setting.caption, text, setting.max);
    if (!number.value) return Refused(number.error);
    image.Write(*setting.field, *number.value);
    return Stored(std::string(setting.caption) + ": stored " + std::to_string(*number.value) + ".", {setting.field});
}

std::string MissionName(const MissionImage& image) {
    int end = kMissionNameField.width;
    while (end > 0 && image.U8(kMissionNameField.offset + end - 1) == 0) --end;
    std::string text;
    for (int i = 0; i < end; ++i) {
        const std::uint8_t b = image.U8(kMissionNameField.offset + i);
        AppendUtf8(text, b == 0 ? kNullPlaceholder : Cp1252ToUnicode(b));
    }
    return text;
}

Edit StoreName(MissionImage& image, std::string_view text) {
    const EncodedName name = EncodeName(text);
    if (!name.bytes) return Refused(name.error);
    WriteName(image, *name.bytes);
    return Stored("Mission name stored.", {&kMissionNameField});
}

bool InstantAction(const MissionImage& image) { return image.U8(kInstantActionField.offset) == kInstantActionOn; }

Edit SetInstantAction(MissionImage& image, bool on) {
    image.SetU8(kInstantActionField.offset, on ? kInstantActionOn : 0);
    return Stored({}, {&kInstantActionField});
}

Edit CommitTexts(MissionImage& image, std::string_view nameText, std::span<const TypedNumber> numbers) {
    const EncodedName name = EncodeName(nameText);
    if (!name.bytes) return Refused(name.error);
    std::vector<std::uint32_t> values;
    for (const TypedNumber& typed : numbers) {
        const NumberResult number = ReadWholeNumber(typed.setting->caption, typed.text, typed.setting->max);
        if (!number.value) return Refused(number.error);
        values.push_back(*number.value);
    }
    WriteName(image, *name.bytes);
    std::vector<const Field*> written{&kMissionNameField};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        image.Write(*numbers[i].setting->field, values[i]);
        written.push_back(numbers[i].setting->field);
    }
    return Stored({}, std::move(written));
}

FieldSetting SettingFor(const Field& field) {
    using K = FieldSetting::Kind;
    FieldSetting found;
    for (const OptionSetting* option : kOptionSettings)
        if (option->field == &field || option->copy == &field) found = {K::Option, option->copy == &field, option};
    for (const NumberSetting* number : kNumberSettings)
        if (number->field == &field) found = {K::Number, false, nullptr, number};
    for (const AircraftSlot* slot : kAircraftSlots)
        if (slot->fields[0] == &field || slot->fields[1] == &field)
            found = {K::Aircraft, slot->fields[1] == &field, nullptr, nullptr, slot};
    for (const PlaceSetting* place : kPlaceSettings)
        if (place->field == &field) found = {K::Place, false, nullptr, nullptr, nullptr, place};
    if (&field == &kMissionNameField) found.kind = K::Name;
    if (&field == &kInstantActionField) found.kind = K::InstantAction;
    return found;
}

}  // namespace kestrane
