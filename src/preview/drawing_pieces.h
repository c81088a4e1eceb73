// The page's drawing cut into pieces that an open page keeps from one state
// to the next. Each top-level group of the drawing (plan, profile, legend,
// graph) becomes a tree: it and every large group in it are cut into their
// children, and consecutive small elements are joined into runs, each run a
// leaf named by a hash of its text. Where a run ends depends only on the elements' own
// text, so an edit changes the few runs around what it changed, and their
// groups' names; the page fetches those runs and keeps the rest as drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace scenariogen {

struct PieceNode {
    std::string key;       // a hash of the text the node stands for (a group: of its start tag and its children's keys)
    std::string open_tag;  // a group cut into its children: its start tag; empty: a leaf
    std::vector<PieceNode> children;
};

struct DrawingPieces {
    std::string font_family;                                // the drawing's, for the page's views
    std::vector<std::pair<std::string, PieceNode>> groups;  // by the group's id, in the drawing's order
    std::unordered_map<std::string, std::string> texts;     // each leaf's elements, by its key
};

// A group larger than this is cut into its children.
inline constexpr std::size_t kPieceGroupBytes = 16 * 1024;
// A run of elements ends at an element the hash of whose first
// kPieceMarkBytes is, in its upper bits (the better mixed), a multiple of
// kPieceRunSpread, or once it is longer than kPieceRunBytes.
inline constexpr std::uint64_t kPieceRunSpread = 16;
inline constexpr std::size_t kPieceMarkBytes = 96;
inline constexpr std::size_t kPieceRunBytes = 8 * 1024;

// Cuts an SVG document as the plot writes it. Text that is not such a
// document gives no groups.
DrawingPieces cut_drawing(std::string_view svg);

// The name of a text: 16 hexadecimal digits of its 64-bit FNV-1a hash.
std::string piece_key(std::string_view text);

}  // namespace scenariogen
