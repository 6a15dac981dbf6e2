// The arrangement table: the sheet's edges, the two-column option groups,
// a place for every control of the window model, and a strip below the
// sheet where the checksum labels and the status line stand uncovered.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "ui/Arrangement.h"
#include "ui/Form1.h"

namespace kestrane {
namespace {

const Placement& At(std::string_view name, int index = -1) {
    static const Placement none{};
    const Placement* p = FindPlacement(name, index);
    EXPECT_NE(p, nullptr) << name << " " << index;
    return p != nullptr ? *p : none;
}

std::string Id(const Placement& p) { return std::string(p.name) + "(" + std::to_string(p.index) + ")"; }

bool Intersects(const TwipRect& a, const TwipRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

struct NoDialog : CommonDialog {
    void ShowOpen() override {}
};

TEST(Arrangement, SheetEdges) {
    for (int member : {8, 19, 4, 22}) EXPECT_EQ(At("Frame1", member).right(), 11235) << "Frame1 " << member;
    EXPECT_EQ(At("Frame2").right(), 11235);
    EXPECT_EQ(At("Frame2").bottom(), 7935);
    EXPECT_EQ(At("Frame3").bottom(), 7935);
    EXPECT_EQ(At("Frame1", 1).top, -15);  // "Year" starts above the client area
    EXPECT_EQ(TwipsToPixels(kSheetWidth), 749);
    EXPECT_EQ(TwipsToPixels(kSheetHeight), 529);
}

TEST(Arrangement, TwoColumnGroupsFillTheLeftColumnFirst) {
    for (std::string_view group : {"Yrbut", "TOD", "PAlt", "Pskill", "EPskill"}) {
        SCOPED_TRACE(std::string(group));
        const Placement &m0 = At(group, 0), &m1 = At(group, 1), &m2 = At(group, 2), &m3 = At(group, 3);
        EXPECT_EQ(m0.left, m1.left);
        EXPECT_EQ(m2.left, m3.left);
        EXPECT_LT(m0.left, m2.left);
        EXPECT_LT(m0.top, m1.top);
        EXPECT_LT(m2.top, m3.top);
    }
}

TEST(Arrangement, TwipsToPixels) {
    const std::pair<int, int> cases[] = {{0, 0}, {7, 0}, {8, 1}, {15, 1}, {22, 1}, {23, 2}, {-15, -1}, {-7, 0}, {195, 13}};
    for (const auto& [twips, pixels] : cases) EXPECT_EQ(TwipsToPixels(twips), pixels) << twips;
}

TEST(Arrangement, MatchesTheWindowModel) {
    NoDialog dialog;
    const Form1 form(dialog, "/nonexistent-kestrane-start-folder");
    std::set<std::string> modelIds;
    for (const Form1::ControlEntry& e : form.Controls()) {
        std::visit(
            [&](auto* control) {
                using T = std::remove_pointer_t<decltype(control)>;
                auto expect = [&](int index, std::vector<WidgetKind> kinds) {
                    const Placement* p = FindPlacement(e.name, index);
                    ASSERT_NE(p, nullptr) << e.name << " " << index << " has no place";
                    EXPECT_NE(std::find(kinds.begin(), kinds.end(), p->kind), kinds.end()) << Id(*p);
                    modelIds.insert(Id(*p));
                };
                if constexpr (std::is_same_v<T, OptionGroup>) {
                    for (int i = 0; i < control->Count(); ++i) expect(i, {WidgetKind::OptionButton});
                    EXPECT_EQ(FindPlacement(e.name, control->Count()), nullptr) << e.name << " has a place too many";
                } else if constexpr (std::is_same_v<T, Label>) {
                    expect(e.index, {WidgetKind::Label, WidgetKind::ClickableLabel, WidgetKind::StatusLine});
                } else if constexpr (std::is_same_v<T, TextBox>) {
                    expect(e.index, {WidgetKind::TextBox});
                } else if constexpr (std::is_same_v<T, CheckBox>) {
                    expect(e.index, {WidgetKind::CheckBox});
                } else if constexpr (std::is_same_v<T, ListBox>) {
                    expect(e.index, {WidgetKind::ListBox});
                } else if constexpr (std::is_same_v<T, Button>) {
                    expect(e.index, {WidgetKind::Button});
                } else {
                    expect(e.index, {WidgetKind::Frame});
                }
            },
            e.control);
    }
    for (const Placement& p : Arrangement()) EXPECT_TRUE(modelIds.count(Id(p))) << Id(p) << " is no control of the model";
    EXPECT_EQ(FindPlacement("G"), nullptr);  // the image grid is never shown
    EXPECT_EQ(FindPlacement("CD"), nullptr);
}

TEST(Arrangement, ControlsStayInsideTheirFrame) {
    for (const Placement& p : Arrangement()) {
        if (p.onWindow()) continue;
        const Placement& frame = At(p.parent, p.parentIndex);
        EXPECT_EQ(frame.kind, WidgetKind::Frame) << Id(p);
        EXPECT_GE(p.left, 0) << Id(p);
        EXPECT_GE(p.top, 0) << Id(p);
        EXPECT_LE(p.right(), frame.width) << Id(p);
        EXPECT_LE(p.bottom(), frame.height) << Id(p);
    }
}

// Neighbours may share one pixel (as some do in the given sheet), never more.
TEST(Arrangement, NeighboursOverlapByOnePixelAtMost) {
    const auto all = Arrangement();
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            const Placement &a = all[i], &b = all[j];
            if (a.parent != b.parent || a.parentIndex != b.parentIndex) continue;
            const int across = std::min(a.right(), b.right()) - std::max(a.left, b.left);
            const int down = std::min(a.bottom(), b.bottom()) - std::max(a.top, b.top);
            EXPECT_FALSE(across > kTwipsPerPixel && down > kTwipsPerPixel) << Id(a) << " covers " << Id(b);
        }
}

TEST(Arrangement, ChecksumLabelsAndStatusLineStandUncoveredInTheStrip) {
    const std::vector<std::pair<std::string_view, int>> strip{
        {"Label14", -1}, {"Label15", -1}, {"Label3", -1},  {"Label1", -1},  {"Label2", -1},
        {"Label18", 0},  {"Label18", 1},  {"Label18", 2}, {"Label18", 3}, {"StatusLine", -1}};
    for (const auto& [name, index] : strip) {
        const Placement& p = At(name, index);
        SCOPED_TRACE(Id(p));
        EXPECT_TRUE(p.onWindow());
        EXPECT_GE(p.top, kSheetHeight);
        EXPECT_LE(p.bottom(), kWindowHeight);
        EXPECT_GE(p.left, 0);
        EXPECT_LE(p.right(), kWindowWidth);
        for (const Placement& other : Arrangement())
            if (&other != &p) {
                EXPECT_FALSE(Intersects(WindowRect(p), WindowRect(other))) << "covered by " << Id(other);
            }
    }
}

// The view creates a frame's contents right after the frame, and takes the
// tab order from the table: frames go column by column, top to bottom.
TEST(Arrangement, FramesInReadingOrderEachFollowedByWhatItHolds) {
    const Placement* frame = nullptr;
    const Placement* previousFrame = nullptr;
    for (const Placement& p : Arrangement()) {
        if (p.kind == WidgetKind::Frame) {
            if (previousFrame != nullptr) {
                const bool sameColumn = p.left == previousFrame->left;
                EXPECT_TRUE(sameColumn ? p.top > previousFrame->top : p.left > previousFrame->left) << Id(p);
            }
            previousFrame = frame = &p;
        } else if (!p.onWindow()) {
            ASSERT_NE(frame, nullptr) << Id(p);
            EXPECT_EQ(p.parent, frame->name) << Id(p);
            EXPECT_EQ(p.parentIndex, frame->index) << Id(p);
        } else {
            frame = nullptr;
        }
    }
}

}  // namespace
}  // namespace kestrane
