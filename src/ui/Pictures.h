#pragma once

#include <QPixmap>

// The mark beside a file name that has unsaved changes (a pencil on a red
// disc), width × height pixels.
QPixmap ModifiedMarkPicture(int width, int height);

// The program's picture for the about dialog and the printed page footer:
// a small beam grillage and the program's name.
QPixmap ProgramPicture(int width = 249, int height = 57);
