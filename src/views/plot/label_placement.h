// Where labels may go: the rectangles already taken on the page, and
// whether a label's box would cross a line.
#pragma once

#include <vector>

#include "views/plot/page_layout.h"

namespace scenariogen::plotting {

bool overlap(const Box& a, const Box& b);
bool inside(const Box& inner, const Box& outer);

// The rectangles taken so far.
class Taken {
public:
    bool free(const Box& b) const;
    void take(const Box& b) { boxes_.push_back(b); }

private:
    std::vector<Box> boxes_;
};

// Whether the segment a-b crosses the box.
bool segment_hits(PagePoint a, PagePoint b, const Box& box);

}  // namespace scenariogen::plotting
