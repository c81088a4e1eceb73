#include "preview/drawing_pieces.h"

namespace scenariogen {

namespace {

std::uint64_t fnv1a(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

// The index just after the '>' that ends the tag starting at `at`, quotes
// respected; the text's end when it has none.
std::size_t piece_tag_end(std::string_view svg, std::size_t at) {
    char quote = 0;
    for (std::size_t i = at + 1; i < svg.size(); ++i) {
        const char c = svg[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return svg.size();
}

// The index just after what starts at `at` (a '<'): a comment, a
// processing instruction or a whole element with its content.
std::size_t piece_element_end(std::string_view svg, std::size_t at) {
    if (svg.substr(at, 4) == "<!--") {
        const std::size_t close = svg.find("-->", at + 4);
        return close == std::string_view::npos ? svg.size() : close + 3;
    }
    std::size_t depth = 0;
    std::size_t i = at;
    while (i < svg.size()) {
        const std::size_t end = piece_tag_end(svg, i);
        const std::string_view tag = svg.substr(i, end - i);
        if (tag.starts_with("</")) {
            --depth;
        } else if (!tag.starts_with("<!") && !tag.starts_with("<?") && !tag.ends_with("/>")) {
            ++depth;
        }
        if (depth == 0) return end;
        i = svg.find('<', end);
        if (i == std::string_view::npos) return svg.size();
        if (svg.substr(i, 4) == "<!--") {
            const std::size_t close = svg.find("-->", i + 4);
            if (close == std::string_view::npos) return svg.size();
            i = svg.find('<', close + 3);
            if (i == std::string_view::npos) return svg.size();
        }
    }
    return svg.size();
}

// The value of attribute `name` in a start tag; empty when it has none.
std::string piece_attribute(std::string_view tag, std::string_view name) {
    const std::string pattern = " " + std::string(name) + "=\"";
    const std::size_t at = tag.find(pattern);
    if (at == std::string_view::npos) return {};
    const std::size_t from = at + pattern.size();
    const std::size_t to = tag.find('"', from);
    return to == std::string_view::npos ? std::string() : std::string(tag.substr(from, to - from));
}

bool is_group(std::string_view element) { return element.starts_with("<g ") || element.starts_with("<g>"); }

bool only_space(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

class PieceCutter {
public:
    explicit PieceCutter(DrawingPieces& pieces) : pieces_(pieces) {}

    // The node for one element: a group cut into its children when it is
    // large or `cut` asks for it, else a leaf of its own.
    PieceNode node_of(std::string_view element, bool cut = false) {
        if (!is_group(element) || (!cut && element.size() <= kPieceGroupBytes)) return leaf(element);
        const std::size_t open_end = piece_tag_end(element, 0);
        std::size_t close = element.rfind("</");
        if (close == std::string_view::npos || close < open_end) close = element.size();  // a cut-off text
        PieceNode node;
        node.open_tag = std::string(element.substr(0, open_end));
        cut_content(element.substr(open_end, close - open_end), node.children);
        // Named by its start tag and its children's names, which name their text.
        std::string names = node.open_tag;
        for (const PieceNode& child : node.children) names += child.key;
        node.key = piece_key(names);
        return node;
    }

private:
    PieceNode leaf(std::string_view text) {
        PieceNode node;
        node.key = piece_key(text);
        pieces_.texts.try_emplace(node.key, text);
        return node;
    }

    // The content of a cut group: runs of small elements (with the text
    // between them) and the large groups, each cut in turn.
    void cut_content(std::string_view content, std::vector<PieceNode>& out) {
        std::size_t run_start = 0;
        std::size_t at = content.find('<');
        const auto close_run = [&](std::size_t end) {
            const std::string_view run = content.substr(run_start, end - run_start);
            if (!only_space(run)) out.push_back(leaf(run));
            run_start = end;
        };
        while (at != std::string_view::npos) {
            const std::size_t end = piece_element_end(content, at);
            const std::string_view element = content.substr(at, end - at);
            if (is_group(element) && element.size() > kPieceGroupBytes) {
                close_run(at);
                out.push_back(node_of(element));
                run_start = end;
            } else if ((fnv1a(element.substr(0, kPieceMarkBytes)) >> 40) % kPieceRunSpread == 0 ||
                       end - run_start > kPieceRunBytes) {
                close_run(end);
            }
            at = content.find('<', end);
        }
        close_run(content.size());
    }

    DrawingPieces& pieces_;
};

}  // namespace

std::string piece_key(std::string_view text) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::uint64_t hash = fnv1a(text);
    std::string key(16, '0');
    for (std::size_t i = key.size(); i-- > 0; hash >>= 4) key[i] = kHexDigits[hash & 0xF];
    return key;
}

DrawingPieces cut_drawing(std::string_view svg) {
    DrawingPieces pieces;
    const std::size_t root = svg.find("<svg");
    if (root == std::string_view::npos) return pieces;
    const std::size_t root_end = piece_tag_end(svg, root);
    pieces.font_family = piece_attribute(svg.substr(root, root_end - root), "font-family");
    PieceCutter cutter(pieces);
    std::size_t at = svg.find('<', root_end);
    while (at != std::string_view::npos && !svg.substr(at).starts_with("</")) {
        const std::size_t end = piece_element_end(svg, at);
        const std::string_view element = svg.substr(at, end - at);
        const std::string id =
            is_group(element) ? piece_attribute(element.substr(0, piece_tag_end(element, 0)), "id") : std::string();
        if (!id.empty()) pieces.groups.emplace_back(id, cutter.node_of(element, true));
        at = svg.find('<', end);
    }
    return pieces;
}

}  // namespace scenariogen
