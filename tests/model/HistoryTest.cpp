// Undo and redo, the modified mark, and the inspector's
// marking of changed and differing bytes.

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "TestSupport.h"
#include "ui/ByteInspector.h"

namespace kestrane {

using C = ControlId;
using test::Editor;
using test::Mission;

namespace {

// Every kind of edit the window makes, from a loaded mission: the list
// entry picked first (a selection is no edit), then the edit.
struct EditCase {
    const char* what;
    ControlId list;
    int entry;
    std::function<void(Editor&)> edit;
};
const std::vector<EditCase> kEdits{
    {"option", C::Count, 0, [](Editor& e) { e.model->Click(C::WeatherOptions, 4); }},
    {"option with copy", C::Count, 0, [](Editor& e) { e.model->Click(C::PilotSkillOptions, 2); }},
    {"number box", C::Count, 0, [](Editor& e) { e.Enter(C::AttackPrimaryAltitudeBox, "12000"); }},
    {"count box", C::Count, 0, [](Editor& e) { e.Enter(C::AircraftCountBox, "9"); }},
    {"mission name", C::Count, 0, [](Editor& e) { e.Enter(C::NameBox, "Night raid"); }},
    {"instant action", C::Count, 0, [](Editor& e) { e.model->Check(C::InstantActionBox, true); }},
    {"aircraft", C::AircraftList, 3, [](Editor& e) { e.model->Click(C::AttackPlane1Name); }},
    {"random", C::AircraftList, 10, [](Editor& e) { e.model->Click(C::AttackPlane2Name); }},
    {"none", C::AircraftList, 11, [](Editor& e) { e.model->Click(C::EnemySecondaryName); }},
    {"none by number", C::Count, 0, [](Editor& e) { e.model->Click(C::EnemySecondaryNumber); }},
    {"place", C::PlaceList, 7, [](Editor& e) { e.model->Click(C::HomeBaseName); }},
};

void PickEntry(Editor& e, const EditCase& c) {
    if (c.list != C::Count) e.model->Select(c.list, c.entry);
}

const MissionBytes kLoaded = Mission({{272, 1}, {280, 2}, {312, 1}, {364, 1}, {292, 4}, {368, 100}, {12, 'A'},
                                      {356, 2}, {304, 5}, {308, 5}, {324, 1}, {384, 1}, {300, 3}});

}  // namespace

TEST(History, UndoAndRedoOfEachKindOfEditAndOfRandomOnesToTheStart) {
    for (const EditCase& c : kEdits) {
        SCOPED_TRACE(c.what);
        Editor e(10, 20);
        e.Load(kLoaded);
        PickEntry(e, c);
        const std::vector<std::string> shownBefore = test::ControlStates(*e.model);
        c.edit(e);
        const MissionBytes edited = e.model->Image().Bytes();
        const std::vector<std::string> shownEdited = test::ControlStates(*e.model);
        ASSERT_NE(edited, kLoaded);
        EXPECT_TRUE(e.model->Modified());

        e.model->Undo();
        EXPECT_EQ(e.model->Image().Bytes(), kLoaded);
        EXPECT_EQ(test::ControlStates(*e.model), shownBefore);
        EXPECT_TRUE(e.Status().starts_with("Undone: ")) << e.Status();
        EXPECT_FALSE(e.model->Modified());

        e.model->Redo();
        EXPECT_EQ(e.model->Image().Bytes(), edited);
        EXPECT_EQ(test::ControlStates(*e.model), shownEdited);
    }
    // Random edits, some undone at once, all undone at the end.
    Editor e(10, 20);
    e.Load(kLoaded);
    std::mt19937 random(12);
    for (int i = 0; i < 300; ++i) {
        const EditCase& c = kEdits[random() % kEdits.size()];
        PickEntry(e, c);
        c.edit(e);
        if (random() % 4 == 0) e.model->Undo();
    }
    while (e.model->CanUndo()) e.model->Undo();
    EXPECT_EQ(e.model->Image().Bytes(), kLoaded);
    EXPECT_FALSE(e.model->Modified());
}

// Undo and redo say what changed in the controls' words. A save clears the
// mark but keeps the history; a load starts a fresh one.
TEST(History, SaysWhatWentBackAndUndoesASaveThatCommitsABoxAsEnterWouldBe) {
    Editor e;
    e.Load(kLoaded);
    e.model->Click(C::WeatherOptions, 4);
    e.model->Undo();
    EXPECT_EQ(e.Status(), "Undone: Weather went back from Overcast to Partly cloudy.");
    e.model->Redo();
    EXPECT_EQ(e.Status(), "Redone: Weather changed from Partly cloudy to Overcast.");
    e.model->Redo();
    EXPECT_EQ(e.Status(), "Nothing to redo.");
    e.Enter(C::AttackPrimaryAltitudeBox, "1000");
    e.model->Type(C::AttackPrimaryAltitudeBox, "2000");
    EXPECT_TRUE(e.model->Unsaved());
    e.Save("out");
    EXPECT_FALSE(e.model->Unsaved());
    e.model->Undo();
    EXPECT_TRUE(e.model->Modified());
    EXPECT_EQ(e.Status(), "Undone: Attack Primary went back from 2000 to 1000.");
    EXPECT_EQ(e.model->Text(C::AttackPrimaryAltitudeBox), "1000");
    e.model->Click(C::LoadButton);  // cancelled: the editors lock, and so do undo and redo
    e.model->Undo();
    EXPECT_EQ(e.model->Image().U32(368), 1000u);
    e.Load(kLoaded);
    EXPECT_FALSE(e.model->CanUndo());
}

TEST(Inspector, MarksExactlyTheBytesAnEditWroteAndThoseThatDifferFromTheComparison) {
    Editor e(10, 20);
    e.Load(kLoaded);
    ByteInspector inspector(*e.model);
    e.model->Select(C::AircraftList, 10);
    e.model->Click(C::AttackPlane2Name);  // Random into the slot and its copy: 304..307 and 360..363
    for (int offset = 0; offset < kMissionSize; ++offset)
        EXPECT_EQ(inspector.RowAt(offset).changed, (offset >= 304 && offset < 308) || (offset >= 360 && offset < 364))
            << offset;
    EXPECT_EQ(inspector.RowAt(305).field, "AttackPlane2Type (byte 2 of 4)");
    EXPECT_EQ(inspector.RowAt(305).block, "Block 8");

    MissionBytes other = e.model->Image().Bytes();
    other[0] ^= 1;
    other[399] = 7;
    test::WriteFile(e.dir / "other.msn", other);
    EXPECT_EQ(inspector.Compare((e.dir / "other.msn").string()),
              "Comparing with " + (e.dir / "other.msn").string() + ": 2 bytes differ.");
    for (int offset = 0; offset < kMissionSize; ++offset)
        EXPECT_EQ(inspector.RowAt(offset).differs, offset == 0 || offset == 399) << offset;
    EXPECT_EQ(e.model->Image().Bytes()[399], kLoaded[399]);  // comparing changes nothing
}

}  // namespace kestrane
