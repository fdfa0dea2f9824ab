#pragma once

class QMimeData;

// Whether data from the clipboard or a drop really holds text or rich text.
// Only then do our text boxes take it: Qt 6.4's text control crashes on a
// paste from an empty clipboard, as it is right after the program that
// copied has ended, and data of other kinds gives nothing to insert.
bool holdsText(const QMimeData* data);

// The same for what the clipboard holds now.
bool clipboardHoldsText();
