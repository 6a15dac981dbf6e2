#pragma once
// Where a second window (the inspector, the missions window) opens: beside
// the main window where the screen has room, and never over the main
// window's status bar, where results and the note about kept work are said.

namespace kestrane {

// A rectangle on the screen, in pixels.
struct ScreenBox {
    int left = 0, top = 0, width = 0, height = 0;
    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
    bool Overlaps(const ScreenBox& other) const {
        return left < other.Right() && other.left < Right() && top < other.Bottom() && other.top < Bottom();
    }
    bool operator==(const ScreenBox&) const = default;
};

// The room left between windows.
inline constexpr int kWindowGap = 8;

// Where a second window of the wanted size goes: to the right of the main
// window, else to its left, else below it, where it fits on the screen
// whole; else over the main window, on the side with more room, no lower
// than the top of the status bar. The window is made smaller only where it
// would not fit on the screen.
ScreenBox PlaceBeside(const ScreenBox& main, const ScreenBox& statusBar, const ScreenBox& wanted, const ScreenBox& screen);

// Whether a second window where it was last left can stay there: it covers
// no part of the main window.
inline bool KeepsItsPlace(const ScreenBox& window, const ScreenBox& main) { return !window.Overlaps(main); }

}  // namespace kestrane
