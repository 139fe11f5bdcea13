#pragma once

#include <QIcon>
#include <QPixmap>

// The small pictures of the windows, drawn here so the program ships no image files.
QPixmap FiguraPasta();     // yellow folder, 14 x 11
QPixmap FiguraDisquete();  // floppy disk, 16 x 16
QPixmap FiguraPorta();     // open door, 16 x 16
QIcon IconeLog();          // red disc with a white "!", 12 x 12
