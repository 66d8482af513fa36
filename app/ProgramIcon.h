// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

// The program's icon, drawn from its scalable picture (the one installed for the desktop) at
// the sizes that title bars, task switchers and docks ask for. Empty when the picture cannot
// be read.
QIcon ProgramIcon();
