#include <gtest/gtest.h>

#include "TestSupport.h"

namespace kestrane {
namespace {

TEST(NewMission, ImageIsZerosWithFixedHeaderAndControlsKeepTheirState) {
    test::Editor e;
    auto m = test::Mission({{272, 3}, {332, 3}, {9, 128}, {12, 'X'}});
    e.Load(m);
    const auto controls = test::ControlStates(*e.form);
    e.form->MissionOpen = false;
    e.form->Command3_Click();

    EXPECT_TRUE(e.form->MissionOpen);
    for (int offset = 0; offset < 400; ++offset) {
        const int expected = offset == 4 ? 101 : offset == 5 ? 2 : offset == 7 ? 170 : 0;
        ASSERT_EQ(e.Byte(offset), expected) << "offset " << offset;
    }
    // Only column 2 changes: the other columns keep what the load wrote.
    EXPECT_EQ(e.form->G.TextMatrix(13, 3), "58");
    EXPECT_EQ(e.form->G.TextMatrix(10, 5), "Instant Action");
    // The window still shows the loaded mission.
    auto after = test::ControlStates(*e.form);
    EXPECT_EQ(after, controls);
}

TEST(NewMission, AfterLoadSavesOldTextsButZeroPicks) {
    test::Editor e;
    auto m = test::Mission({{272, 3}, {9, 128}, {12, 'A'}, {304, 5}});
    test::SetU32(m, 368, 10000);
    e.Load(m);
    e.form->Command3_Click();
    const auto bytes = e.Save("fresh");
    ASSERT_EQ(bytes.size(), 400u);
    EXPECT_EQ(bytes[12], 'A');         // name box committed again
    EXPECT_EQ(bytes[368], 16);         // 10000 = 16, 39
    EXPECT_EQ(bytes[369], 39);
    EXPECT_EQ(bytes[272], 0);          // option group not re-read
    EXPECT_EQ(bytes[9], 0);            // flag stays 0 until toggled
    EXPECT_EQ(bytes[304], 0);          // aircraft slot zeroed
}

}  // namespace
}  // namespace kestrane
