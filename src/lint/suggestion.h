// The nearest spelling to a misspelt word, for "did you mean ...?".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenariogen::lint {

// The edit distance between two words: insertions, deletions, substitutions
// and swaps of two neighbouring letters each count one.
std::size_t edit_distance(std::string_view a, std::string_view b);

// The candidate nearest to `word` when it is near enough to be a slip of the
// keyboard (about one edit in three letters); ties go to the first.
std::optional<std::string> nearest_spelling(std::string_view word, const std::vector<std::string>& candidates);

}  // namespace scenariogen::lint
