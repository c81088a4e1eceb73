// `scenariogen explain CODE`: what an error number, a check's or warning's
// name, or a keyword means, with units, a minimal example and the usual fix.
#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/command.h"
#include "lint/explanations.h"

namespace scenariogen {

namespace {

std::string_view kind_heading(ExplanationKind kind) {
    switch (kind) {
        case ExplanationKind::kErrorNumber:
            return "The compiler's error numbers";
        case ExplanationKind::kCheckError:
            return "The check's errors";
        case ExplanationKind::kWarning:
            return "The warnings (-Wno-NAME turns one off)";
        case ExplanationKind::kKeyword:
            return "The keywords";
    }
    return "";
}

// Every code with its title, grouped by kind.
std::string catalogue() {
    std::string text;
    std::optional<ExplanationKind> kind;
    for (const Explanation& e : explanations()) {
        if (kind != e.kind) {
            text += std::string(kind ? "\n" : "") + std::string(kind_heading(e.kind)) + ":\n";
            kind = e.kind;
        }
        text += "  " + explanation_title(e) + "\n";
    }
    return text + "\n'scenariogen explain CODE' tells more of each.\n";
}

class ExplainCommand : public Command {
public:
    CLI::App* add_to(CLI::App& app) override {
        CLI::App* explain = app.add_subcommand(
            "explain", "What an error number, a diagnostic's name or a keyword means, with an example and the fix");
        explain->add_option("CODE", code_, "An error number (16), a name (occupied-cell) or a keyword (segnale)");
        explain->add_flag("--markdown", markdown_, "The explanation as Markdown");
        explain->add_flag("--reference", reference_, "The meaning of every value of both descriptions, as Markdown");
        return explain;
    }

    int run(Console& console) override {
        if (reference_) {
            console.out << format_reference_markdown();
            return kSuccess;
        }
        if (code_.empty()) {
            console.out << catalogue();
            return kSuccess;
        }
        const Explanation* entry = find_explanation(code_);
        if (entry == nullptr) {
            console.err << "scenariogen: '" << code_ << "' is no error number, name or keyword";
            if (const auto nearest = nearest_code(code_)) console.err << "; did you mean '" << *nearest << "'?";
            console.err << " ('scenariogen explain' lists them all)\n";
            return kUsage;
        }
        console.out << (markdown_ ? explanation_markdown(*entry) : explanation_text(*entry));
        return kSuccess;
    }

private:
    std::string code_;
    bool markdown_ = false;
    bool reference_ = false;
};

}  // namespace

std::unique_ptr<Command> make_explain_command() { return std::make_unique<ExplainCommand>(); }

}  // namespace scenariogen
