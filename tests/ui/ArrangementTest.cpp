// The arrangement table: every place lies inside its frame and the window
// and covers no other; the status line and checksum labels stand in the
// strip below the sheet. A control with no place fails every view test.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "ui/Arrangement.h"
#include "ui/Controls.h"
#include "ui/WindowPlacement.h"

namespace kestrane {
namespace {

std::string Id(const Placement& p) { return std::to_string(Index(p.id)) + "_" + std::to_string(p.member); }

bool Covers(const TwipRect& a, const TwipRect& b, int allowed) {
    const int across = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
    const int down = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
    return across > allowed && down > allowed;
}

// The strip holds the status line and the checksum labels, the last controls.
bool InStrip(ControlId id) { return Index(id) >= Index(ControlId::StatusLine); }

// The view makes a frame's contents inside the frame's widget, so a frame
// must come before what it holds.
TEST(Arrangement, EveryControlLiesInsideItsFrameAndTheWindow) {
    std::map<ControlId, const Placement*> frames;
    for (const Placement& p : Arrangement()) {
        SCOPED_TRACE(Id(p));
        if (AllControls()[Index(p.id)].kind == ControlKind::Frame && p.onWindow()) frames[p.id] = &p;
        if (!p.onWindow()) {
            ASSERT_TRUE(frames.count(p.parent)) << "no frame on the window placed before it";
            const Placement& f = *frames[p.parent];
            EXPECT_TRUE(p.left >= 0 && p.top >= 0 && p.right() <= f.width && p.bottom() <= f.height) << "outside";
        }
        // The strip lies below the sheet; a frame may reach one pixel over
        // the window's top edge, as "Year" does.
        const TwipRect r = WindowRect(p);
        EXPECT_TRUE(r.left >= 0 && r.left + r.width <= kWindowWidth) << "outside the window";
        EXPECT_GE(r.top, InStrip(p.id) ? kSheetHeight : -kTwipsPerPixel);
        EXPECT_LE(r.top + r.height, InStrip(p.id) ? kWindowHeight : kSheetHeight);
    }
}

// Neighbours may share one pixel (as some do on the sheet), never more; a
// control in the strip shares nothing with any other.
TEST(Arrangement, NoControlCoversAnother) {
    const auto all = Arrangement();
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            const Placement &a = all[i], &b = all[j];
            const bool strip = InStrip(a.id) || InStrip(b.id);
            if (a.parent != b.parent && !strip) continue;  // a frame and what it holds, or two frames' contents
            EXPECT_FALSE(Covers(WindowRect(a), WindowRect(b), strip ? 0 : kTwipsPerPixel))
                << Id(a) << " and " << Id(b);
        }
}

// A second window opens beside the main one where the screen has room, and
// otherwise never reaches down over the main window's status bar.
TEST(WindowPlacement, BesideTheMainWindowElseClearOfItsStatusBar) {
    const ScreenBox bar{0, 560, 750, 75};
    const ScreenBox wanted{0, 0, 500, 400};
    // The main window, 750 x 640 at the top left, on four screens.
    const ScreenBox mainWindow{0, 0, 750, 640};
    EXPECT_EQ(PlaceBeside(mainWindow, bar, wanted, {0, 0, 1920, 1080}), (ScreenBox{758, 0, 500, 400}));
    EXPECT_EQ(PlaceBeside({1000, 300, 750, 640}, bar, wanted, {0, 0, 1920, 1080}), (ScreenBox{492, 300, 500, 400}))
        << "to the left when the right has no room";
    EXPECT_EQ(PlaceBeside(mainWindow, bar, {0, 0, 500, 300}, {0, 0, 1000, 1000}), (ScreenBox{0, 648, 500, 300})) << "below";
    const ScreenBox laptop = PlaceBeside(mainWindow, bar, {0, 0, 1000, 560}, {0, 0, 1366, 768});
    EXPECT_EQ(laptop, (ScreenBox{366, 0, 1000, 552})) << "over the main window, above its status bar";
    EXPECT_FALSE(laptop.Overlaps(bar));
    EXPECT_TRUE(KeepsItsPlace({800, 0, 400, 300}, mainWindow));
    EXPECT_FALSE(KeepsItsPlace({700, 500, 400, 300}, mainWindow));
}

}  // namespace
}  // namespace kestrane
