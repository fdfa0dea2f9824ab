// The tree text reader on any bytes. It must not crash, hang or leak; a level
// error is the one way it may refuse. Whatever it built must come back the
// same through the writer and the reader, but for the leading blanks of a
// node text, which read back as indentation.
#include "TreeModel.h"
#include "TreeText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Each node as its level and its text without leading blanks, in tree order.
std::string signature(const Tree& tree) {
    std::string signature;
    for (const TreeNode* node = tree.first(); node != nullptr; node = node->next()) {
        const std::string& text = node->text();
        const std::size_t start = text.find_first_not_of(" \t");
        signature += std::to_string(node->level());
        signature += ':';
        signature += start == std::string::npos ? std::string() : text.substr(start);
        signature += '\n';
    }
    return signature;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Tree tree;
    try {
        readTree(bytes, tree);
    } catch (const TreeLevelError&) {
        // The nodes read before the bad line stay, and they must write well too.
    }
    Tree again;
    readTree(writeTree(tree), again);
    if (signature(tree) != signature(again)) {
        std::fputs("the tree changed when written and read back\n", stderr);
        std::abort();
    }
    return 0;
}
