// Code actions: the quick fix of each diagnostic that has one obvious fix,
// and the fix of every diagnostic of its kind in the file. A fix that moves
// a value is offered only when the texts it leaves compile with nothing to
// say about its line.
#include "lsp/code_actions.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "lsp/protocol_json.h"
#include "lsp/quick_fixes.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

// A fix and the diagnostic it fixes.
struct FoundFix {
    json diagnostic;
    std::string name;
    QuickFix fix;
};

struct FixInput {
    const OpenDocument& document;
    Workspace& workspace;
    std::optional<Workspace::Partner> partner;
};

std::string_view line_end_of(std::string_view text) {
    const auto end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) return "\r\n";
    return text.substr(end, text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
}

std::vector<FoundFix> all_fixes(const FixInput& in, const json& diagnostics) {
    const OpenDocument& document = in.document;
    const DescriptionView view = view_description(document.description, document.pairing.role);
    const std::string_view partner_text = in.partner ? std::string_view(in.partner->document().description) : "";
    const PartnerText partner{partner_text, line_end_of(partner_text)};
    std::vector<FoundFix> found;
    for (const json& d : diagnostics) {
        const auto data = d.find("data");
        if (data == d.end() || !data->contains("name") || data->contains("wholeFile")) continue;
        const json& start = d["range"]["start"];
        const int line = start["line"].get<int>();
        if (line >= document.text.line_count()) continue;
        const FixSite site{(*data)["name"].get<std::string>(), line,
                           document.text.character_column(line, start["character"].get<int>())};
        std::optional<QuickFix> fix = quick_fix(site, view, document.pairing.role, description_line(document, line),
                                                in.partner && !document.unmappable ? &partner : nullptr);
        if (fix) found.push_back({d, site.name, std::move(*fix)});
    }
    return found;
}

// The document's text with the edits of `fixes` made in it (their edits in
// the document only, none of them whole lines).
std::string edited_text(const OpenDocument& document, const std::vector<const FoundFix*>& fixes) {
    std::vector<LineEdit> edits;
    for (const FoundFix* f : fixes) {
        for (const LineEdit& e : f->fix.edits) edits.push_back(e);
    }
    std::sort(edits.begin(), edits.end(), [](const LineEdit& a, const LineEdit& b) {
        return std::tie(a.line, a.begin) > std::tie(b.line, b.begin);
    });
    DocumentText text = document.text;
    for (const LineEdit& e : edits) {
        text.replace({{e.line, text.utf16_column(e.line, e.begin)}, {e.line, text.utf16_column(e.line, e.end)}},
                     e.text);
    }
    return text.utf8();
}

// The fixes among `fixes` whose line the compilation of the edited text
// says nothing about, a fault or a note of another fault; checked again
// without those that failed, so that two fixes that clash are both left out.
std::vector<const FoundFix*> passing(const FixInput& in, std::vector<const FoundFix*> fixes) {
    for (int round = 0; round < 3 && !fixes.empty(); ++round) {
        const std::optional<PipelineOutcome> outcome =
            in.workspace.compile_edited(in.document.uri, edited_text(in.document, fixes));
        if (!outcome) return {};
        std::set<int> spoken_of;
        for (const Diagnostic& d : outcome->diagnostics) {
            if (d.where && d.where->file == in.document.pairing.role) spoken_of.insert(d.where->line - 1);
        }
        const auto before = fixes.size();
        fixes.erase(std::remove_if(fixes.begin(), fixes.end(),
                                   [&](const FoundFix* f) { return spoken_of.count(f->fix.edits.front().line) > 0; }),
                    fixes.end());
        if (fixes.size() == before) return fixes;
    }
    return {};
}

json edit_json(const FixInput& in, const LineEdit& e) {
    if (e.whole_line) return {{"range", range_json({e.line, 0}, {e.line + 1, 0})}, {"newText", e.text}};
    const DocumentText& text = e.partner ? in.partner->document().text : in.document.text;
    return {{"range", character_range_json(text, e.line, e.begin, e.end)}, {"newText", e.text}};
}

json action(const FixInput& in, const std::string& title, const std::vector<const FoundFix*>& fixes, bool preferred,
            const std::string& kind = "quickfix") {
    json changes = json::object();
    json diagnostics = json::array();
    std::set<std::tuple<bool, int, int, int>> made;  // two diagnostics of one field take one edit
    for (const FoundFix* f : fixes) {
        diagnostics.push_back(f->diagnostic);
        for (const LineEdit& e : f->fix.edits) {
            if (!made.insert({e.partner, e.line, e.whole_line ? -1 : e.begin, e.end}).second) continue;
            changes[e.partner ? in.partner->document().uri : in.document.uri].push_back(edit_json(in, e));
        }
    }
    json result{{"title", title}, {"kind", kind}, {"diagnostics", diagnostics}, {"edit", {{"changes", changes}}}};
    if (preferred) result["isPreferred"] = true;
    return result;
}

bool on_lines(const json& diagnostic, const TextRange& range) {
    const json& r = diagnostic["range"];
    return r["start"]["line"].get<int>() <= range.end.line && r["end"]["line"].get<int>() >= range.start.line;
}

bool wants(const json& only, std::string_view kind) {
    if (!only.is_array()) return kind == "quickfix";
    return std::any_of(only.begin(), only.end(), [&](const json& k) {
        const std::string asked = k.is_string() ? k.get<std::string>() : std::string();
        return kind == asked ||
               (kind.size() > asked.size() && kind.substr(0, asked.size()) == asked && kind[asked.size()] == '.');
    });
}

// The fixes that may be offered: those checked where they need it.
std::vector<const FoundFix*> offered(const FixInput& in, const std::vector<const FoundFix*>& fixes) {
    std::vector<const FoundFix*> plain;
    std::vector<const FoundFix*> checked;
    for (const FoundFix* f : fixes) (f->fix.needs_check ? checked : plain).push_back(f);
    for (const FoundFix* f : passing(in, checked)) plain.push_back(f);
    return plain;
}

}  // namespace

json code_actions(const OpenDocument& document, const json& params, Workspace& workspace) {
    json actions = json::array();
    const CompileUnit* unit = workspace.compiled_unit(document.uri);
    if (unit == nullptr) return actions;
    const auto published = unit->diagnostics.find(document.uri);
    if (published == unit->diagnostics.end()) return actions;
    const FixInput in{document, workspace, workspace.partner(document.uri)};
    const std::vector<FoundFix> fixes = all_fixes(in, published->second);
    const TextRange range = range_from(params.at("range"));
    const json context = params.value("context", json::object());
    const json only = context.value("only", json());

    if (wants(only, "quickfix")) {
        std::vector<const FoundFix*> here;
        for (const FoundFix& f : fixes) {
            if (on_lines(f.diagnostic, range)) here.push_back(&f);
        }
        std::set<std::string> kinds;
        for (const FoundFix* f : offered(in, here)) {
            actions.push_back(action(in, f->fix.title, {f}, f->fix.preferred));
            kinds.insert(f->name);
        }
        for (const std::string& name : kinds) {
            std::vector<const FoundFix*> same;
            for (const FoundFix& f : fixes) {
                if (f.name == name) same.push_back(&f);
            }
            if (same.size() < 2) continue;
            const std::vector<const FoundFix*> all = offered(in, same);
            if (all.size() < 2) continue;
            actions.push_back(
                action(in, "Fix all " + std::to_string(all.size()) + " '" + name + "' in this file", all, false));
        }
    }
    if (wants(only, "source.fixAll") && only.is_array()) {
        std::vector<const FoundFix*> preferred;
        for (const FoundFix& f : fixes) {
            if (f.fix.preferred) preferred.push_back(&f);
        }
        const std::vector<const FoundFix*> all = offered(in, preferred);
        if (!all.empty())
            actions.push_back(action(in, "Fix all the safe fixes in this file", all, false, "source.fixAll"));
    }
    return actions;
}

}  // namespace scenariogen::lsp
