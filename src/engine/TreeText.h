#pragma once

#include "TreeModel.h"

#include <cstddef>
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

    std::size_t Level() const { return level_; }
    const std::string& Text() const { return text_; }

private:
    std::size_t level_;
    std::string text_;
};

// Replaces the tree's nodes by the nodes of the text, in the text's order.
// A line ends at CR LF, a lone CR or a lone LF; a NUL byte ends the text.
// Throws TreeLevelError; the nodes built from the earlier lines then stay.
void ReadTree(std::string_view bytes, TTree& tree);
// The same from a stream, read up to its end or the first NUL byte. Throws
// std::ios_base::failure when the stream breaks down while being read.
void ReadTree(std::istream& in, TTree& tree);

// The tree as tree text; an empty tree gives no bytes at all.
std::string WriteTree(const TTree& tree);
// The same into a stream; the caller checks the stream's state afterwards.
void WriteTree(const TTree& tree, std::ostream& out);
