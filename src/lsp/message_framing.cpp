#include "lsp/message_framing.h"

#include <algorithm>
#include <charconv>

namespace scenariogen::lsp {

namespace {

constexpr std::string_view kLengthField = "content-length";

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_name(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

std::string_view trimmed_of_blanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Where the next Content-Length field name stands, from `from` on.
std::size_t find_length_field(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i + kLengthField.size() <= text.size(); ++i) {
        if (same_name(text.substr(i, kLengthField.size()), kLengthField)) return i;
    }
    return std::string_view::npos;
}

// The header's lines up to the empty line that closes it; none when the
// empty line has not come yet.
struct HeaderExtent {
    std::size_t size = 0;  // with the closing empty line
    std::string_view lines;
};

std::optional<HeaderExtent> header_extent(std::string_view text) {
    std::size_t line_start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', line_start);
        if (end == std::string_view::npos) return std::nullopt;
        std::string_view line = text.substr(line_start, end - line_start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) return HeaderExtent{end + 1, text.substr(0, line_start)};
        line_start = end + 1;
    }
}

}  // namespace

void MessageReader::feed(std::string_view bytes) {
    const std::size_t dropped = std::min(skipping_, bytes.size());
    skipping_ -= dropped;
    bytes.remove_prefix(dropped);
    if (body_length_ && buffer_.capacity() < start_ + *body_length_) buffer_.reserve(start_ + *body_length_);
    buffer_.append(bytes);
}

std::optional<Frame> MessageReader::next() {
    for (;;) {
        if (lost_) {
            resynchronise();
            if (lost_) return std::nullopt;
        }
        if (!body_length_) {
            std::optional<Frame> fault = read_header();
            if (fault) return fault;
            if (!body_length_) return std::nullopt;
            continue;
        }
        if (pending().size() < *body_length_) return std::nullopt;
        Frame body{Frame::Kind::kBody, std::string(pending().substr(0, *body_length_))};
        start_ += *body_length_;
        body_length_.reset();
        compact();
        return body;
    }
}

bool MessageReader::inside_message() const {
    return body_length_ || skipping_ > 0 || pending().find_first_not_of("\r\n") != std::string_view::npos;
}

std::optional<Frame> MessageReader::read_header() {
    // Line ends between messages are tolerated.
    while (start_ < buffer_.size() && (buffer_[start_] == '\r' || buffer_[start_] == '\n')) ++start_;
    const std::optional<HeaderExtent> extent = header_extent(pending());
    if (!extent) {
        if (pending().size() > kMaxHeaderBytes) {
            return refuse_header("the header has no end within " + std::to_string(kMaxHeaderBytes) + " bytes", 1);
        }
        return std::nullopt;
    }
    if (extent->size > kMaxHeaderBytes) {
        return refuse_header("the header is longer than " + std::to_string(kMaxHeaderBytes) + " bytes", 1);
    }
    std::optional<std::size_t> length;
    std::string_view lines = extent->lines;
    while (!lines.empty()) {
        const std::size_t end = lines.find('\n');
        std::string_view line = lines.substr(0, end);
        lines.remove_prefix(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) return refuse_header("a header line has no colon", extent->size);
        if (!same_name(trimmed_of_blanks(line.substr(0, colon)), kLengthField)) continue;
        const std::string_view value = trimmed_of_blanks(line.substr(colon + 1));
        std::size_t n = 0;
        const auto [stop, error] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (value.empty() || error != std::errc() || stop != value.data() + value.size()) {
            return refuse_header(
                "the Content-Length '" + std::string(value.substr(0, 40)) + "' is not a number of bytes", extent->size);
        }
        if (length && *length != n)
            return refuse_header("the header holds two different Content-Length fields", extent->size);
        length = n;
    }
    if (!length) return refuse_header("the header has no Content-Length", extent->size);
    start_ += extent->size;
    if (*length > max_body_) {
        const std::size_t held = std::min(*length, pending().size());
        start_ += held;
        skipping_ = *length - held;
        compact();
        return Frame{Frame::Kind::kFault, "the message of " + std::to_string(*length) +
                                              " bytes is larger than the limit of " + std::to_string(max_body_) +
                                              " bytes; it is skipped"};
    }
    body_length_ = length;
    return std::nullopt;
}

std::optional<Frame> MessageReader::refuse_header(std::string sentence, std::size_t skipped) {
    lost_ = true;
    start_ += skipped;  // the next header is looked for after this one
    return Frame{Frame::Kind::kFault, std::move(sentence)};
}

void MessageReader::resynchronise() {
    const std::size_t found = find_length_field(buffer_, start_);
    if (found != std::string_view::npos) {
        start_ = found;
        lost_ = false;
        return;
    }
    // Keep a tail that may be the start of a field name split across pieces.
    const std::size_t keep = std::min(pending().size(), kLengthField.size());
    start_ = buffer_.size() - keep;
    compact();
}

void MessageReader::compact() {
    if (start_ == 0) return;
    if (start_ >= buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    } else if (start_ >= buffer_.size() / 2 || start_ > (std::size_t{1} << 20)) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
}

std::string frame_message(std::string_view body) {
    std::string framed = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    framed.append(body);
    return framed;
}

}  // namespace scenariogen::lsp
