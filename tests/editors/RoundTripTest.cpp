#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"
#include "mission/Checksum.h"

namespace kestrane {
namespace {

using test::Editor;

TEST(RoundTrip, LoadThenSaveKeepsEveryByteAfterTheHeader) {
    Editor e(300, 300);
    std::mt19937 rng(20261206);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 300; ++round) {
        MissionBytes m{};
        for (auto& b : m) b = static_cast<std::uint8_t>(byte(rng));
        e.Load(m);
        ASSERT_TRUE(e.form->MissionOpen);
        const auto saved = e.Save("copy");
        ASSERT_EQ(saved.size(), 400u) << e.form->StatusLine.Caption;
        for (int i = 8; i < 400; ++i) ASSERT_EQ(saved[static_cast<std::size_t>(i)], m[static_cast<std::size_t>(i)]) << "round " << round << " offset " << i;
        EXPECT_EQ(saved[4], 101);
        EXPECT_EQ(saved[5], 2);
        EXPECT_EQ(saved[6], 0);
        EXPECT_EQ(saved[7], 170);
        const std::uint32_t crc = Crc32(std::string_view(reinterpret_cast<const char*>(saved.data()) + 4, 396));
        const std::uint32_t stored = saved[0] | saved[1] << 8 | saved[2] << 16 | static_cast<std::uint32_t>(saved[3]) << 24;
        ASSERT_EQ(stored, crc);
    }
}

TEST(RoundTrip, RandomEditsSurviveSaveAndReload) {
    Editor e(40, 500);
    std::mt19937 rng(7);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const char* groups[] = {"Yrbut", "TOD", "Weather", "MTBut", "PAlt", "AP2But", "Pskill", "EPskill", "BSBut", "AAA"};
    const std::pair<const char*, int> boxes[] = {{"AltText", 0}, {"AltText", 1}, {"AltText", 2}, {"AltText", 3},
                                                 {"MDate", -1}, {"MWeather", -1}, {"TOffset", -1}, {"UKN", 0}, {"UKN", 1}};
    const char* slots[] = {"AP1L", "AP2L", "DP1L", "DP2L"};

    // An empty box saves as 0 and reloads as "0"; start from numbers.
    for (const auto& [box, index] : boxes) e.form->Find<TextBox>(box, index)->Text = "0";
    e.form->AP1Num.Text = "0";
    for (int round = 0; round < 60; ++round) {
        e.form->Command3_Click();
        std::map<std::string, std::string> shown;  // what each edited control must show after reload
        for (int step = 0; step < 25; ++step) {
            switch (pick(6)) {
            case 0: {
                const char* g = groups[pick(10)];
                const int index = pick(e.form->Find<OptionGroup>(g)->Count());
                e.form->Click(g, index);
                shown[g] = std::to_string(index);
                break;
            }
            case 1: {
                const auto& [box, index] = boxes[pick(9)];
                const std::uint32_t v = std::uniform_int_distribution<std::uint32_t>()(rng);
                e.form->Find<TextBox>(box, index)->Text = std::to_string(v);
                if (pick(2)) e.Press(box, index);  // with or without Enter: saving commits it
                shown[std::string(box) + std::to_string(index)] = std::to_string(v);
                break;
            }
            case 2: {
                const char* slot = slots[pick(4)];
                e.form->List1.ListIndex = pick(e.form->List1.ListCount());
                e.form->Click(slot);
                shown[slot] = e.form->Find<Label>(slot)->Caption;
                break;
            }
            case 3: {
                e.form->List2.ListIndex = pick(e.form->List2.ListCount());
                const char* place = pick(2) ? "Targl" : "HBL";
                e.form->Click(place);
                shown[place] = e.form->Find<Label>(place)->Caption;
                break;
            }
            case 4:
                e.form->IA.Value = pick(2);
                e.form->IA_Click();
                shown["IA"] = std::to_string(e.form->IA.Value);
                break;
            case 5: {
                std::string name;
                for (int n = pick(25); n > 0; --n) name += static_cast<char>('a' + pick(26));
                e.form->Text1.Text = name;
                shown["Text1"] = name;
                e.form->AP1Num.Text = std::to_string(pick(256));
                shown["AP1Num"] = e.form->AP1Num.Text;
                break;
            }
            }
        }
        // Boxes not edited this round still hold text from earlier ones;
        // saving commits them, so they too must come back.
        for (const auto& [box, index] : boxes)
            shown[std::string(box) + std::to_string(index)] = e.form->Find<TextBox>(box, index)->Text;
        shown["Text1"] = e.form->Text1.Text;
        shown["AP1Num"] = e.form->AP1Num.Text;

        e.form->Text2.Text = "edited";
        e.form->Command4_Click();
        ASSERT_NE(e.form->StatusLine.Caption.find("Saved"), std::string::npos) << e.form->StatusLine.Caption;
        e.dialog.answers.push_back((e.dir / "edited.msn").string());
        e.form->Command2_Click();

        for (const auto& [control, value] : shown) {
            if (OptionGroup* g = e.form->Find<OptionGroup>(control)) EXPECT_EQ(std::to_string(g->Value), value) << control;
            else if (control == "IA") EXPECT_EQ(std::to_string(e.form->IA.Value), value);
            else if (Label* l = e.form->Find<Label>(control)) EXPECT_EQ(l->Caption, value) << control;
            else if (control == "Text1") EXPECT_EQ(e.form->Text1.Text, value);
            else if (control == "AP1Num") EXPECT_EQ(e.form->AP1Num.Text, value);
            else {
                const bool isArray = control.rfind("AltText", 0) == 0 || control.rfind("UKN", 0) == 0;
                const std::string name = isArray ? control.substr(0, control.size() - 1) : control.substr(0, control.size() - 2);
                const int index = isArray ? control.back() - '0' : -1;
                EXPECT_EQ(e.form->Find<TextBox>(name, index)->Text, value) << control;
            }
        }
    }
}

}  // namespace
}  // namespace kestrane
