#pragma once

#include <QFont>
#include <QPalette>
#include <QWidget>
#include <cstdint>
#include <functional>

// The windows' face: Tahoma where installed, else a close sans-serif, at
// pixel sizes so that the layouts' measures hold.
QFont vantorFont(int pixelSize, bool bold = false);

// Sets a widget's background and text colours (0x00BBGGRR values).
void setColors(QWidget* widget, std::uint32_t background, std::uint32_t text);
void setTextColor(QWidget* widget, std::uint32_t text);

// Places a widget at the layout's left, top, width, height.
void place(QWidget* widget, int left, int top, int width, int height);

class QAbstractButton;
class RouteEngine;
class ColorBitmapButton;
class FlatComboBox;
class QFrame;
class QLabel;
class QToolButton;

// Creates a control under its parent with its layout name as object name.
template <typename Control> Control* makeControl(QWidget* parent, const char* name) {
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// A caption as a screen reader should say it: the "&" marks of the mnemonic
// dropped, a doubled "&&" kept as one "&".
QString captionWithoutMnemonic(const QString& caption);

// Sets a button's caption ("&OK": Alt+O presses it) and the accessible name
// that goes with it.
void setButtonCaption(QAbstractButton* button, const QString& caption);

// A label's text and the accessible name that goes with it.
void setLabelCaption(QLabel* label, const QString& caption);

// A satellite window's face: its caption and fixed client size on the dark
// ground, filled by a raised panel that the window's controls stand on.
QFrame* makeSatellitePanel(QWidget* window, const char* name, const QString& caption, int width,
                           int height);

// The grey bar and the flat bold "Close" button at the foot of a satellite.
struct CloseFooter {
    QFrame* bar;
    QToolButton* button;
};
CloseFooter makeCloseFooter(QWidget* panel, const QRect& bar, const QRect& button);

// A picture drawn when it is first shown: the drawing is left out of the
// start of the program.
QLabel* lazyPicture(QWidget* parent, const char* name, std::function<QPixmap()> draw);

// A bold heading in the accent colour at the page's left, top.
QLabel* makeHeading(QWidget* parent, const char* name, const QString& caption, int left, int top);

// A flat page button with its caption, hint and caption colour.
QToolButton* pageButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint, bool bold, std::uint32_t color);

// One of the pages' text boxes that complete what the user types from their
// alphabetical list, in the face colour given, silver text, at left, top.
FlatComboBox* completingBox(QWidget* parent, const char* name, const QString& spokenName,
                            std::uint32_t face, int left, int top, int width);

// A push button with the dark face and the caption in the accent colour.
ColorBitmapButton* colourButton(QWidget* parent, const char* name, const QString& caption,
                                const QString& hint, const QFont& font);

// The route engine's race, way and link colours as the windows show them.
void applyEngineColors(RouteEngine& engine);
