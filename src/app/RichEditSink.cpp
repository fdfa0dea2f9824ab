// STUB
#include "RichEditSink.h"

void TRichEditSink::AppendLine(const std::string&, bool) {}
