#pragma once

#include <QFont>
#include <QPalette>
#include <QWidget>
#include <cstdint>

// The windows' face: Tahoma where installed, else a close sans-serif, at
// pixel sizes so that the layouts' measures hold.
QFont VantorFont(int pixelSize, bool bold = false);

// Sets a widget's background and text colours (0x00BBGGRR values).
void SetColors(QWidget* widget, std::uint32_t background, std::uint32_t text);
void SetTextColor(QWidget* widget, std::uint32_t text);

// Places a widget at the layout's left, top, width, height.
void Place(QWidget* widget, int left, int top, int width, int height);
