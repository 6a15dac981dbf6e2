// The editors as functions over a mission image: what each writes, and that
// a refusal writes nothing.

#include <gtest/gtest.h>

#include <algorithm>

#include "editors/Settings.h"

namespace kestrane {

using K = Pick::Kind;

// Runs an editor on a patterned image, checking that it changed nothing
// outside the fields it reports, and nothing at all when it refused.
template <class Run>
static auto Apply(Run run) {
    MissionImage image;
    for (int i = 0; i < kMissionSize; ++i) image.SetU8(i, static_cast<std::uint8_t>(i * 7 + 3));
    const MissionImage before = image;
    const auto edit = run(image);
    for (int i = 0; i < kMissionSize; ++i)
        if (std::none_of(edit.written.begin(), edit.written.end(), [&](const Field* f) { return f->Holds(i); })) {
            EXPECT_EQ(image.U8(i), before.U8(i)) << "stray write at " << i << ": " << edit.message;
        }
    EXPECT_TRUE(edit.stored || edit.written.empty());
    return std::pair{image, edit};
}

TEST(Editors, OptionsWriteTheMemberIntoTheFieldAndItsCopy) {
    for (const OptionSetting* s : kOptionSettings)
        for (int member = 0; member < s->count; ++member) {
            const auto [image, edit] = Apply([&](MissionImage& i) { return ChooseOption(i, *s, member); });
            for (const Field* f : {s->field, s->copy}) EXPECT_EQ(f ? image.U8(f->offset) : member, member) << s->title;
        }
}

TEST(Editors, NumbersStoreWhatTheBoxReadsOrSayWhyNot) {
    const NumberSetting *offset = &kTargetOffset, *count = &kAircraftCount;
    const struct { const NumberSetting* setting; std::string text; std::int64_t value; std::string says; } cases[] = {
        {offset, "", 0, ""}, {offset, "255.6", 256, ""}, {offset, "4294967295", 4294967295, ""},
        {offset, "4294967296", -1, "above 4294967295"}, {offset, "&HFFFF", -1, "reads as -1, below 0"},
        {offset, "-0.6", -1, "Target Offset: \"-0.6\" reads as -0.6, below 0"},
        {&kUnknown1, "1e308000", -1, "UK#1: \"1e308000\" is too large"},
        {&kMissionDate, "-9e9999", -1, "Mission Date: \"-9e9999\" is too far below 0"},
        {count, "3.5", 4, ""}, {count, "&HFF", 255, ""}, {count, "255.5", -1, "reads as 255.5, above 255"},
        {count, "300", -1, "\"300\" reads as 300, above 255; enter a whole number from 0 to 255. Nothing was stored."}};
    for (const auto& c : cases) {
        const auto [image, edit] = Apply([&](MissionImage& i) { return StoreNumber(i, *c.setting, c.text); });
        const Field& f = *c.setting->field;
        EXPECT_EQ(edit.stored ? std::int64_t{f.width == 1 ? image.U8(f.offset) : image.U32(f.offset)} : -1, c.value);
        EXPECT_NE(edit.message.find(c.says), std::string::npos) << edit.message;
    }
}

TEST(Editors, MissionNamesAreUpTo24Windows1252Characters) {
    const struct { std::string text, bytes, says; } cases[] = {
        {"Dogfight", "Dogfight", ""}, {"", "", ""}, {"Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xE9 \x80", ""},
        {"a\u2400b", std::string("a\0b", 3), ""},  // the placeholder stands for a zero byte
        {std::string(24, 'x'), std::string(24, 'x'), ""}, {"€€€€€€€€€€€€€€€€€€€€€€€€", std::string(24, '\x80'), ""},
        {std::string(25, 'y'), "", "has 25 characters; a mission file holds at most 24. Nothing was stored."},
        {"Привет", "", "holds \"П\", which a mission file cannot store (Windows-1252 characters only)."},
        {"ok\xFF", "", "The mission name is not readable text; nothing was stored."}};
    for (const auto& c : cases) {
        const auto [image, edit] = Apply([&](MissionImage& i) { return StoreName(i, c.text); });
        EXPECT_NE(edit.message.find(c.says.empty() ? "Mission name stored." : c.says), std::string::npos) << edit.message;
        if (!edit.stored) continue;
        std::string field;
        for (int k = 0; k < 24; ++k) field += static_cast<char>(image.U8(12 + k));
        EXPECT_EQ(field, c.bytes + std::string(24 - c.bytes.size(), '\0'));
        EXPECT_EQ(MissionName(image), c.text);
    }
}

TEST(Editors, CommitTextsWritesAllOrNothing) {
    const struct { std::string name; std::vector<TypedNumber> numbers; std::string says; } cases[] = {
        {"Raid", {{&kTargetOffset, "5"}, {&kAircraftCount, "300"}}, "Number of aircraft: \"300\""},
        {"Raid", {{&kMissionDate, "-1"}, {&kUnknown1, "-2"}}, "Mission Date: \"-1\""},  // the first refusal
        {"\xFF", {{&kTargetOffset, "-5"}}, "The mission name is not readable text"},   // the name first
        {"Raid", {{&kTargetOffset, "5"}, {&kAircraftCount, "7"}}, ""}};
    for (const auto& c : cases) {
        const auto [image, edit] = Apply([&](MissionImage& i) { return CommitTexts(i, c.name, c.numbers); });
        EXPECT_EQ(edit.message.rfind(c.says, 0), 0u) << edit.message;
        EXPECT_EQ(edit.stored, c.says.empty());
        EXPECT_TRUE(!edit.stored || MissionName(image) + std::to_string(image.U32(352) + image.U8(292)) == "Raid12");
    }
}

TEST(Editors, AircraftSlotsStorePositionsOrCodesWithinWhatTheFileTellsApart) {
    constexpr std::int64_t kRefused = -1;
    const AircraftSlot *a1 = &kAttackPlane1, *a2 = &kAttackPlane2, *e1 = &kEnemyPrimary, *e2 = &kEnemySecondary;
    const struct { const AircraftSlot* slot; K kind; int position; std::int64_t code; std::string says; } cases[] = {
        {a2, K::Random, 10, kRandomCode, ""}, {a2, K::None, 11, kNoneCode, ""}, {a2, K::Entry, 253, 253, ""},
        {a2, K::Entry, 254, kRefused, "Attack plane 2: list position 254 cannot be stored (a mission file tells "
                                      "positions apart only up to 253); nothing was changed."},
        {a1, K::Random, 10, 10, ""},  // no codes: "Random" is an entry like any other
        {a1, K::None, 11, kRefused, "Attack plane 1 cannot be \"None\"; nothing was changed."},
        {a1, K::Entry, 255, 255, ""}, {a1, K::Entry, 256, kRefused, "up to 255"}, {e1, K::Random, 10, kRandomCode, ""},
        {e1, K::None, 11, kRefused, "cannot be \"None\""}, {e1, K::Entry, 254, 254, ""}, {e2, K::None, 11, kNoneCode, ""},
        {e1, K::Entry, 255, kRefused, "up to 254"}, {e2, K::Entry, 254, kRefused, "up to 253"},
        {e2, K::Entry, -1, kRefused, "Select an aircraft in the Aircraft list first, then click the slot."}};
    for (const auto& c : cases) {
        const auto [image, edit] =
            Apply([&](MissionImage& i) { return AssignAircraft(i, *c.slot, {c.kind, c.position, "it"}); });
        EXPECT_NE(edit.message.find(c.says), std::string::npos) << edit.message;
        for (const Field* f : c.slot->fields) EXPECT_EQ(f && edit.stored ? image.U32(f->offset) : c.code, c.code);
        const bool coded = c.code == kRandomCode || c.code == kNoneCode;
        EXPECT_EQ(edit.name, !edit.stored ? "" : !coded ? "it" : c.kind == K::Random ? "Random" : "None");
        EXPECT_EQ(edit.number, edit.stored && !coded ? std::to_string(c.position) : "");
    }
}

TEST(Editors, PlacesStoreTwoByteCodes) {
    for (const PlaceSetting* place : {&kTarget, &kHomeBase})
        for (int at : {0, 300, 65535, 65536, -1}) {
            const auto [image, edit] = Apply([&](MissionImage& i) { return AssignPlace(i, *place, {K::Entry, at, ""}); });
            EXPECT_EQ(edit.stored ? image.U16(place->field->offset) : -1, at <= 65535 ? at : -1);
            EXPECT_TRUE(at >= 0 || edit.message == "Select a place in the Target/Home Base list first, then "
                                                         "click the " + std::string(place->missing) + ".");
        }
}

}  // namespace kestrane
