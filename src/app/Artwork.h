#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>

// The program's pictures, all drawn here at run time: nothing is loaded from
// files, so the artwork is the same on every machine.

// The title across the top of the main window: "VANTOR" over a star field.
QPixmap TitleArtwork(QSize size);

// The small picture that opens the star map: a glimpse of the sector grid.
QPixmap StarMapPicture(QSize size);
// The same glimpse lit up, with a way across it: shown while the pointer is
// over the picture.
QPixmap StarMapPictureLit(QSize size);

// The picture at the head of the Info page's button column: a ringed planet
// under a bright star.
QPixmap InfoColumnArtwork(QSize size);

// The main window's image list, five 16x16 pictures by index:
// 0 notepad, 1 navigation, 2 system database, 3 own database, 4 search.
QIcon ImageListPicture(int index);
constexpr int ImageListCount = 5;

// The gear on the options button, 18 by 18; its bottom-left pixel is the
// transparent colour.
QImage OptionsGlyph();

// The program icon: a four-pointed star on a dark rounded square.
QPixmap ProgramIconPicture(int side);
QIcon ProgramIcon();
