#pragma once

#include "LineSink.h"

class QTextEdit;

// Hands the engine's lines to a rich-text box: one paragraph per line, in
// the weight set for it; names are decoded from the file's code page.
class RichEditSink : public LineSink {
public:
    explicit RichEditSink(QTextEdit* box)
        : box_(box) {}

    void appendLine(const std::string& text, bool bold) override;

private:
    QTextEdit* box_;
};
