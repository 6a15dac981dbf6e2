#pragma once
// The settings file is only ever a plain file of this program's own. Before
// any setting is read, the files QSettings would read and write are looked
// at, without opening them: when one is a device, a pipe, a folder, or a
// link to one or to nothing, no setting is read from or written to it.
// Settings then live in a folder of this session's own and are forgotten at
// its end.

#include <QString>

namespace kestrane {

// Empty when settings are remembered; else a sentence for the status line
// saying that they will not be, and why. Call once, before any QSettings.
QString GuardSettingsFile();

}  // namespace kestrane
