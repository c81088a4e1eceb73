#include "pipeline/diagnostic_merge.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace scenariogen {

namespace {

// A diagnostic and its notes.
struct Group {
    Diagnostic main;
    Diagnostics notes;
};

std::vector<Group> groups_of(Diagnostics diagnostics) {
    std::vector<Group> groups;
    for (Diagnostic& d : diagnostics) {
        if (d.severity == Severity::kNote && !groups.empty()) {
            groups.back().notes.push_back(std::move(d));
        } else {
            groups.push_back({std::move(d), {}});
        }
    }
    return groups;
}

Diagnostics flattened(std::vector<Group> groups) {
    Diagnostics out;
    for (Group& g : groups) {
        out.push_back(std::move(g.main));
        for (Diagnostic& note : g.notes) out.push_back(std::move(note));
    }
    return out;
}

bool in_same_file(const Diagnostic& d, const Diagnostic& fault) {
    return d.where && fault.where && d.where->file == fault.where->file;
}

bool same_line(const Diagnostic& d, const Diagnostic& fault) {
    return in_same_file(d, fault) && d.where->line == fault.where->line;
}

// The check's diagnostic that stands for the compiler's fault, if any.
Group* holder_of(std::vector<Group>& groups, const Diagnostic& fault) {
    const bool whole_file = fault.where && fault.where->line == 0;
    for (Group& g : groups) {
        const Diagnostic& d = g.main;
        const bool place =
            whole_file ? in_same_file(d, fault) : same_line(d, fault) || (in_same_file(d, fault) && d.where->line == 0);
        if (d.severity == Severity::kError && d.number == fault.number && place) return &g;
    }
    for (Group& g : groups) {
        const Diagnostic& d = g.main;
        if (d.severity == Severity::kError && d.number == 0 && !whole_file && same_line(d, fault)) return &g;
    }
    return nullptr;
}

// The diagnostic that already holds the earlier fault of this number.
Group* earlier_holder(std::vector<Group>& groups, std::int32_t number) {
    for (auto it = groups.rbegin(); it != groups.rend(); ++it) {
        if (it->main.number == number && it->main.severity == Severity::kError) return &*it;
    }
    return nullptr;
}

Diagnostic as_note(Diagnostic fault) {
    fault.severity = Severity::kNote;
    fault.message = "the reading stops here because of it, with error " + std::to_string(fault.number);
    fault.number = 0;
    fault.detail.clear();
    return fault;
}

}  // namespace

Diagnostics merge_diagnostics(Diagnostics checked, const Diagnostics& faults) {
    std::vector<Group> groups = groups_of(std::move(checked));
    for (const Diagnostic& fault : faults) {
        if (fault.repeats_earlier) {
            if (Group* earlier = earlier_holder(groups, fault.number)) {
                earlier->notes.push_back(as_note(fault));
                continue;
            }
        }
        if (Group* holder = holder_of(groups, fault)) {
            holder->main.number = fault.number;
            if (!holder->main.position) holder->main.position = fault.position;
            continue;
        }
        groups.push_back({fault, {}});
    }
    return in_file_order(flattened(std::move(groups)));
}

Diagnostics in_file_order(Diagnostics diagnostics) {
    std::vector<Group> groups = groups_of(std::move(diagnostics));
    const auto key = [](const Group& g) {
        if (!g.main.where) return std::tuple(-1, -1, -1);  // a fault of no text: first
        const SourceRange& at = *g.main.where;
        return std::tuple(static_cast<int>(at.file), at.line, at.column);
    };
    std::stable_sort(groups.begin(), groups.end(), [&](const Group& a, const Group& b) { return key(a) < key(b); });
    return flattened(std::move(groups));
}

}  // namespace scenariogen
