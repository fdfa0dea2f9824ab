#pragma once

#include "TreeModel.h"

#include <QString>
#include <stdexcept>

// A tree file that could not be read or written. message() is the text for
// the standard error box; what() holds the same text in UTF-8.
class TreeFileError : public std::runtime_error {
public:
    explicit TreeFileError(const QString& message);
    const QString& message() const { return message_; }

private:
    QString message_;
};

// The one place that says where the program's own files lie, given the
// program folder with its trailing separator. A copy that carries "core.vr"
// in its program folder (a portable copy, or a build) keeps every file there.
// An installed copy (no "core.vr" beside it, an installation's share/vantor
// folder beside its bin folder) reads the shipped data files ("core.vr",
// "vantor.vr") from that share folder and keeps the user's files
// ("Vantor.txt", "OwnData.txt") in the user's data folder, made on demand.
QString programFilePath(const QString& programFolder, const QString& name);

// Replaces the tree's nodes by those of the tree text file. A file that is
// missing, is no plain file (a folder, a device) or cannot be read throws
// "Datei %s kann nicht geöffnet werden" with the full path and leaves the tree
// as it was. A line indented too deep throws "Ungültige Ebene (%d) für
// Eintrag "%s"" followed by the file's full path; the nodes of the lines
// before it are then the tree.
void loadTreeFile(Tree& tree, const QString& path);

// Writes the tree as tree text through a temporary file that replaces the old
// one only when everything was written, so a failed save leaves the old file
// byte for byte. A failure throws "Datei %s kann nicht erstellt werden" with
// the full path.
void saveTreeFile(const Tree& tree, const QString& path);
