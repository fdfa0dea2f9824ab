#pragma once

#include <QImage>
#include <QStringView>

// The pictures of the standard button kinds ("BBCOK", "BBCCANCEL", "BBCHELP",
// "BBCYES", "BBCNO", "BBCCLOSE", "BBCABORT", "BBCRETRY", "BBCIGNORE",
// "BBCALL"): two 18-pixel-wide images side by side, normal and disabled, on
// an olive ground that the button replaces by its face colour. Each is drawn
// on first use and kept for the rest of the run; an unknown name gives a
// null image.
const QImage& kindGlyph(QStringView name);
