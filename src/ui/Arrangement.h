#pragma once
// Where every control of the window stands: one table of placements in
// twips, the window's size, and the one conversion from twips to pixels.
// The view reads it; nothing here depends on a toolkit.
//
// The sheet is 11235 x 7935 twips. Below it the window has a strip that
// holds the status line and the checksum labels: on the sheet those labels
// would lie under the frame "Miscellaneous Values" and its contents, so they
// are moved down by kChecksumShift as one block, keeping their places
// relative to each other.

#include <span>

#include "ui/ControlId.h"

namespace kestrane {

// A control's place: relative to its frame, or to the window. An option
// group has one placement per member button.
inline constexpr ControlId kOnWindow = ControlId::Count;
inline constexpr int kSheetHeightTwips = 7935;

struct Placement {
    ControlId id;
    int member;        // the option button's member, -1 for other controls
    ControlId parent;  // the frame that holds it, or kOnWindow
    int left, top, width, height;  // twips, relative to the parent

    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    constexpr bool onWindow() const { return parent == kOnWindow; }
    // In the strip below the sheet: the status line and the checksums.
    constexpr bool inStrip() const { return onWindow() && top >= kSheetHeightTwips; }
};

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kSheetWidth = 11235;   // client width of the sheet
inline constexpr int kSheetHeight = kSheetHeightTwips;  // client height of the sheet
inline constexpr int kChecksumShift = 1125;  // how far the checksum block moves down
inline constexpr int kStripHeight = 1125;    // the strip below the sheet
inline constexpr int kWindowWidth = kSheetWidth;
inline constexpr int kWindowHeight = kSheetHeight + kStripHeight;

// Twips to device-independent pixels, rounded to the nearest pixel.
constexpr int TwipsToPixels(int twips) {
    return (twips >= 0 ? twips + kTwipsPerPixel / 2 : twips - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// The sheet's zoom in percent: its places, sizes and font scale together.
// Zooming steps through these, from 75 % to 200 %; 100 % is the sheet as
// it is.
inline constexpr int kZoomSteps[] = {75, 90, 100, 110, 125, 150, 175, 200};
inline constexpr int kActualSize = 100;
// The next step in (direction 1) or out (-1) from a zoom, staying within
// the steps; a zoom between steps (from old settings) goes to the nearest.
int NextZoom(int percent, int direction);
// A length in pixels at 100 %, at the zoom, rounded to the nearest pixel.
constexpr int Zoomed(int pixels, int percent) { return (pixels * percent + (pixels >= 0 ? 50 : -50)) / 100; }

// Every frame and control in reading order: the commands and lists on the
// left, then the frames column by column, each frame followed by what it
// holds, then the strip. The view creates widgets and the tab order in
// this order.
std::span<const Placement> Arrangement();

// The placement of a control, frame or option button, or null when it has none.
const Placement* FindPlacement(ControlId id, int member = -1);

// The placement's rectangle relative to the window's client area.
struct TwipRect {
    int left, top, width, height;
};
TwipRect WindowRect(const Placement& placement);
// The rectangle around every button of an option group, relative to its frame.
TwipRect GroupBounds(ControlId group);

}  // namespace kestrane
