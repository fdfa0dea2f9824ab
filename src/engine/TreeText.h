#pragma once

#include "TreeModel.h"

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

// The tree text format of the info data file and the tree exports: one node
// per line, indented by one TAB per level, every line ending in CR LF.

// A line indented more than one level below the line before it. Level is
// the count of the line's leading TABs and SPACEs, Text the rest of the line.
class TreeLevelError : public std::runtime_error {
public:
    TreeLevelError(std::size_t level, std::string text);

    std::size_t level() const { return level_; }
    const std::string& text() const { return text_; }

private:
    std::size_t level_;
    std::string text_;
};

// Cuts tree text into lines as it arrives, in pieces of any size, and builds
// the tree's nodes line by line; starting it removes the tree's nodes. A line
// ends at CR LF, a lone CR or a lone LF; a NUL byte ends the text. Feed and
// Finish throw TreeLevelError; the nodes built from the earlier lines stay.
class TreeTextReader {
public:
    explicit TreeTextReader(Tree& tree);

    // Returns false once a NUL byte has ended the text; later pieces are ignored.
    bool feed(std::string_view piece);
    // The end of the text.
    void finish();

private:
    std::size_t step(std::string_view piece, std::size_t i);
    void endLine();
    void addNode(std::size_t level, std::string text);

    Tree& tree_;
    TreeNode* previous_ = nullptr;
    // Indentation is only counted, never kept, so a line indented a million
    // levels deep costs no memory.
    std::size_t level_ = 0;
    std::string text_;
    bool indenting_ = true;
    bool lineStarted_ = false;
    bool afterCr_ = false;
    bool ended_ = false;
};

// Replaces the tree's nodes by the nodes of the text, in the text's order,
// as TreeTextReader does.
void readTree(std::string_view bytes, Tree& tree);
// The same from a stream, read up to its end or the first NUL byte. Throws
// std::ios_base::failure when the stream breaks down while being read.
void readTree(std::istream& in, Tree& tree);

// Hands out the tree text piece by piece; an empty tree gives nothing.
void writeTree(const Tree& tree, const std::function<void(std::string_view)>& put);
// The tree as tree text; an empty tree gives no bytes at all.
std::string writeTree(const Tree& tree);
// The same into a stream; the caller checks the stream's state afterwards.
void writeTree(const Tree& tree, std::ostream& out);
