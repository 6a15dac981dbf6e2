#pragma once
// The window's font: an 11-pixel sans serif, narrowed (Qt's stretch) until
// every fixed caption fits its control's width with the fonts at hand.

#include <QFont>

namespace kestrane {

// Choosing the font may load font faces, which a program can have done while
// it waits for something else, such as the catalogues.
QFont WindowFont();

}  // namespace kestrane
