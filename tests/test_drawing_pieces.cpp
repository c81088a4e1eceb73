// The drawing cut into pieces for an open page: put back together the
// pieces give the drawing's groups; an edit to one element changes only the
// runs around it, so the page fetches little and keeps the rest.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "preview/drawing_pieces.h"

namespace scenariogen {
namespace {

// A node's text put back together from the pieces.
std::string put_together(const PieceNode& node, const DrawingPieces& pieces) {
    if (node.open_tag.empty()) return pieces.texts.at(node.key);
    std::string text = node.open_tag;
    for (const PieceNode& child : node.children) text += put_together(child, pieces);
    return text + "</g>";
}

std::string without_newlines(std::string text) {
    std::erase(text, '\n');
    return text;
}

void collect_leaves(const PieceNode& node, std::set<std::string>& keys) {
    if (node.open_tag.empty()) keys.insert(node.key);
    for (const PieceNode& child : node.children) collect_leaves(child, keys);
}

std::set<std::string> leaf_keys(const DrawingPieces& pieces) {
    std::set<std::string> keys;
    for (const auto& [id, node] : pieces.groups) collect_leaves(node, keys);
    return keys;
}

std::string document(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "font-family=\"DejaVu Sans\">\n<title>t</title>\n" +
           body + "</svg>\n";
}

// A group of `count` marks, the one at `changed` drawn elsewhere; `extra`
// inserted after mark `count / 2`.
std::string large_group(int count, int changed = -1, const std::string& extra = "") {
    std::string text = "<g id=\"profile\">\n<g><title>Lanes</title>\n";
    for (int i = 0; i < count; ++i) {
        const int x = i == changed ? 100000 + i : i;
        text += "<g><title>Mark at " + std::to_string(x) + " m</title><circle cx=\"" + std::to_string(x) +
                "\" cy=\"1\" r=\"0.5\"/></g>\n";
        if (i == count / 2) text += extra;
    }
    return text + "</g>\n<text x=\"1\" y=\"2\">km</text>\n</g>\n";
}

TEST(DrawingPieces, TheGroupsAreCutAndPutBackTogetherAsTheyWere) {
    struct Case {
        const char* what;
        std::string body;
        std::vector<std::string> ids;
    };
    const Case cases[] = {
        {"small groups, each a run of its own",
         "<g id=\"plan\"><path d=\"M0 0L1 1\"/>\n</g>\n<rect x=\"0\" y=\"0\" width=\"1\" height=\"1\"/>\n"
         "<g id=\"legend\"><text x=\"1\" y=\"1\">a &lt; b</text>\n</g>\n",
         {"plan", "legend"}},
        {"a '>' in an attribute, a comment and a self-closed group",
         "<g id=\"graph\" data-note=\"a > b\"><!-- <g> --><g/><line x1=\"0\" y1=\"0\" x2=\"1\" y2=\"1\"/>\n</g>\n",
         {"graph"}},
        {"a large group cut into runs, with a large group within", large_group(3000), {"profile"}},
        {"a group without an id is no view", "<g><circle r=\"1\"/></g>\n", {}},
    };
    for (const Case& c : cases) {
        const std::string svg = document(c.body);
        const DrawingPieces pieces = cut_drawing(svg);
        EXPECT_EQ(pieces.font_family, "DejaVu Sans") << c.what;
        std::vector<std::string> ids;
        for (const auto& [id, node] : pieces.groups) {
            ids.push_back(id);
            const std::string text = without_newlines(put_together(node, pieces));
            EXPECT_NE(without_newlines(svg).find(text), std::string::npos) << c.what << ": " << id;
            EXPECT_TRUE(text.starts_with("<g id=\"" + id + "\"")) << c.what;
        }
        EXPECT_EQ(ids, c.ids) << c.what;
    }
    // Keys of 16 digits: a hundred of them fit in a request's target of 2048 bytes.
    EXPECT_EQ(piece_key(""), "cbf29ce484222325");
    EXPECT_EQ(piece_key("a"), "af63dc4c8601ec8c");
    EXPECT_TRUE(cut_drawing("not a drawing").groups.empty());
    EXPECT_TRUE(cut_drawing("<svg><g id=\"cut\"><circle").groups.size() <= 1) << "a cut-off text ends the scan";
}

TEST(DrawingPieces, AnEditChangesOnlyTheRunsAroundIt) {
    const DrawingPieces before = cut_drawing(document(large_group(3000)));
    ASSERT_GT(leaf_keys(before).size(), 50u) << "the large group is cut into many runs";
    struct Case {
        const char* what;
        std::string group;
    };
    const Case cases[] = {
        {"one mark moved", large_group(3000, 1234)},
        {"one mark inserted", large_group(3000, -1, "<g><title>New</title><rect width=\"1\" height=\"1\"/></g>\n")},
        {"nothing", large_group(3000)},
    };
    for (const Case& c : cases) {
        const DrawingPieces after = cut_drawing(document(c.group));
        std::set<std::string> gone, added;
        for (const std::string& key : leaf_keys(before)) gone.insert(key);
        for (const std::string& key : leaf_keys(after)) {
            if (!gone.erase(key)) added.insert(key);
        }
        EXPECT_LE(added.size(), 2u) << c.what;
        EXPECT_LE(gone.size(), 2u) << c.what;
        EXPECT_EQ(added.empty(), before.groups[0].second.key == after.groups[0].second.key)
            << c.what << ": the group's key changes with any of its runs";
    }
}

}  // namespace
}  // namespace scenariogen
