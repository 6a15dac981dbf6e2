#include "ui/WindowPlacement.h"

#include <algorithm>

namespace kestrane {

ScreenBox PlaceBeside(const ScreenBox& main, const ScreenBox& statusBar, const ScreenBox& wanted, const ScreenBox& screen) {
    const int width = std::min(wanted.width, screen.width);
    const int height = std::min(wanted.height, screen.height);
    // The top of a window beside the main one: level with it, moved up only
    // as far as the screen needs.
    const int top = std::clamp(main.top, screen.top, screen.Bottom() - height);
    const int left = std::clamp(main.left, screen.left, screen.Right() - width);
    if (main.Right() + kWindowGap + width <= screen.Right()) return {main.Right() + kWindowGap, top, width, height};
    if (main.left - kWindowGap - width >= screen.left) return {main.left - kWindowGap - width, top, width, height};
    if (main.Bottom() + kWindowGap + height <= screen.Bottom()) return {left, main.Bottom() + kWindowGap, width, height};
    // No room beside it: over the main window, clear of its status bar.
    const bool rightHasMore = screen.Right() - main.Right() >= main.left - screen.left;
    const int over = std::max(statusBar.top - kWindowGap - screen.top, 1);
    return {rightHasMore ? screen.Right() - width : screen.left, screen.top, width, std::min(height, over)};
}

}  // namespace kestrane
