#include "lint/suggestion.h"

#include <algorithm>

namespace scenariogen::lint {

std::size_t edit_distance(std::string_view a, std::string_view b) {
    // Three rows of the table suffice for the swap of neighbours.
    std::vector<std::size_t> before(b.size() + 1);
    std::vector<std::size_t> previous(b.size() + 1);
    std::vector<std::size_t> current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                current[j] = std::min(current[j], before[j - 2] + 1);
            }
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[b.size()];
}

std::optional<std::string> nearest_spelling(std::string_view word, const std::vector<std::string>& candidates) {
    constexpr std::size_t kLongest = 64;  // longer fields are not slips of a keyword
    if (word.empty() || word.size() > kLongest) return std::nullopt;
    std::optional<std::string> best;
    std::size_t best_distance = 0;
    for (const std::string& candidate : candidates) {
        const std::size_t distance = edit_distance(word, candidate);
        const std::size_t allowed = std::max<std::size_t>(1, std::min(word.size(), candidate.size()) / 3);
        if (distance == 0 || distance > allowed) continue;
        if (!best || distance < best_distance) {
            best = candidate;
            best_distance = distance;
        }
    }
    return best;
}

}  // namespace scenariogen::lint
