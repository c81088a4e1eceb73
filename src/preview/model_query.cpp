#include "preview/model_query.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>

namespace scenariogen {

namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percent_decoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && hex_digit(text[i + 1]) >= 0 &&
                   hex_digit(text[i + 2]) >= 0) {
            out += static_cast<char>(hex_digit(text[i + 1]) * 16 + hex_digit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

struct ModelValue {
    std::string_view name;  // in the query
    std::string_view what;  // in a refusal
    std::string_view unit;
    std::optional<double> TrainModelChoice::*member;
};

constexpr std::array<ModelValue, 3> kModelValues{{
    {"acceleration", "the acceleration", "m/s²", &TrainModelChoice::acceleration},
    {"braking", "the braking", "m/s²", &TrainModelChoice::braking},
    {"max_speed", "the top speed", "km/h", &TrainModelChoice::max_speed_kmh},
}};

// A finite number above 0; none otherwise.
std::optional<double> above_zero(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value) || !(value > 0)) return std::nullopt;
    return value;
}

}  // namespace

std::string query_value(std::string_view query, std::string_view name) {
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const std::size_t equals = pair.find('=');
        if (pair.substr(0, equals) == name) {
            return equals == std::string_view::npos ? std::string() : percent_decoded(pair.substr(equals + 1));
        }
        if (amp == std::string_view::npos) break;
        query.remove_prefix(amp + 1);
    }
    return {};
}

std::variant<TrainModelChoice, std::string> read_model_query(std::string_view query) {
    TrainModelChoice choice;
    for (const ModelValue& value : kModelValues) {
        const std::string text = query_value(query, value.name);
        if (text.empty()) continue;
        const std::optional<double> number = above_zero(text);
        if (!number) {
            return std::string(value.what) + ": give a number above 0 (" + std::string(value.unit) + "), not '" +
                   text.substr(0, 40) + "'";
        }
        choice.*value.member = number;
    }
    return choice;
}

}  // namespace scenariogen
