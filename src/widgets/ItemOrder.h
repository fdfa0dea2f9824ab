#pragma once

#include <QStringList>

// The text case-folded, as a sorted flat combo box compares its items.
QString foldedCase(const QString& text);

// Puts texts in the order of a sorted flat combo box: letter case aside,
// texts that compare equal in the order they came. A list that is in order
// already is only checked.
void sortLetterCaseAside(QStringList& texts);
