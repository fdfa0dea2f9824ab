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
std::string Signature(const TTree& tree) {
    std::string signature;
    for (const TTreeNode* node = tree.First(); node != nullptr; node = node->Next()) {
        const std::string& text = node->Text();
        const std::size_t start = text.find_first_not_of(" \t");
        signature += std::to_string(node->Level());
        signature += ':';
        signature += start == std::string::npos ? std::string() : text.substr(start);
        signature += '\n';
    }
    return signature;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TTree tree;
    try {
        ReadTree(bytes, tree);
    } catch (const TreeLevelError&) {
        // The nodes read before the bad line stay, and they must write well too.
    }
    TTree again;
    ReadTree(WriteTree(tree), again);
    if (Signature(tree) != Signature(again)) {
        std::fputs("the tree changed when written and read back\n", stderr);
        std::abort();
    }
    return 0;
}
