#pragma once

// Where the next tree search starts: the absolute index, in tree order, of
// the first node it looks at. One position serves both database trees; a hit
// moves it past the hit, a search that finds nothing and any edit of a search
// box (the notepad's included) put it back to the top.
struct SearchPosition {
    int value = 0;
};
