#pragma once

#include <QString>

// Whether a regular file stands under the path, symbolic links followed. It
// is the only kind of file the program opens for reading: a pipe or a device
// could keep the reader waiting for ever or feed it without end, and a
// folder or a socket holds no text. Every reader asks before it opens, and
// treats any other kind as a file that cannot be opened.
bool isRegularFile(const QString& path);
