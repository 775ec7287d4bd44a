// The program's icon: a small stylised plant drawn in code.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace verdel {

// The plant picture, Size x Size pixels, on a rounded tile.
QPixmap PaintProgramIcon(int Size);

// The program's icon in the sizes a window manager asks for (16 to 64 pixels).
QIcon ProgramIcon();

} // namespace verdel
