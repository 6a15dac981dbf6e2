#pragma once
// Object names for the widgets: each control's name on the sheet,
// with "_" and the index for a member of a control array or option group
// ("AltText_0", "Yrbut_2").

#include <QString>

#include "ui/ControlId.h"

namespace kestrane {

QString ObjectName(ControlId id, int member = -1);
QString WindowObjectName();

}  // namespace kestrane
