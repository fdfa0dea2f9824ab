#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>

#include <array>

// The program's pictures, all drawn here by our own code, so the artwork is
// the same on every machine. The large ones are drawn once, when the program
// is built, and the windows load them finished.

// The pictures drawn at build time.
enum class ShippedPicture {
    Title,         // the title across the top of the main window, 394 by 54
    StarMapButton, // the picture that opens the star map, 73 by 54
    StarMapLit,    // the same lit up while the pointer is over it
    StarField,     // the star map's background, 196 by 247
    InfoColumn,    // the head of the Info page's button column, 131 by 144
};
inline constexpr std::array AllShippedPictures{
    ShippedPicture::Title, ShippedPicture::StarMapButton, ShippedPicture::StarMapLit,
    ShippedPicture::StarField, ShippedPicture::InfoColumn};

// What the windows show: the picture as the build drew it.
QPixmap shippedPicture(ShippedPicture picture);
// The build's side: the picture drawn, the file name it is kept under, and
// its pixels as that file holds them: width and height as two 32-bit
// numbers, then the premultiplied 32-bit pixels, all in the machine's byte
// order. Read without an image decoder, the pictures cost the start nothing.
QPixmap drawShippedPicture(ShippedPicture picture);
QString shippedPictureFile(ShippedPicture picture);
QByteArray shippedPictureBytes(const QImage& picture);

// The title across the top of the main window: "VANTOR" over a star field.
QPixmap titleArtwork(QSize size);

// The small picture that opens the star map: a glimpse of the sector grid.
QPixmap starMapPicture(QSize size);
// The same glimpse lit up, with a way across it: shown while the pointer is
// over the picture.
QPixmap starMapPictureLit(QSize size);

// The picture at the head of the Info page's button column: a ringed planet
// under a bright star.
QPixmap infoColumnArtwork(QSize size);

// The main window's image list, five 16x16 pictures by index:
// 0 notepad, 1 navigation, 2 system database, 3 own database, 4 search.
QIcon imageListPicture(int index);
constexpr int ImageListCount = 5;

// The red cross of the own database's "Delete" item.
QIcon deleteGlyph();

// The gear on the options button, 18 by 18; its bottom-left pixel is the
// transparent colour.
QImage optionsGlyph();

// The program icon: a four-pointed star on a dark rounded square.
QPixmap programIconPicture(int side);
QIcon programIcon();
