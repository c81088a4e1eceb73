#include "preview/session_requests.h"

#include <variant>

namespace scenariogen {

ActionReply answer_session_request(PreviewSession& session, Resource resource, std::string_view query) {
    if (resource == Resource::kModel) {
        const std::string refusal = session.choose_model(query);
        if (refusal.empty()) return {204, "text/plain; charset=utf-8", {}, {}};
        return {400, "text/plain; charset=utf-8", refusal + "\n", {}};
    }
    if (resource == Resource::kExport) {
        auto download = session.download(query);
        if (const std::string* refusal = std::get_if<std::string>(&download)) {
            return {400, "text/plain; charset=utf-8", *refusal + "\n", {}};
        }
        PageDownload& page = std::get<PageDownload>(download);
        return {200, std::move(page.content_type), std::move(page.bytes), std::move(page.file_name)};
    }
    if (resource == Resource::kWindow) {
        auto window = session.profile_window(query);
        if (const std::string* refusal = std::get_if<std::string>(&window)) {
            return {400, "text/plain; charset=utf-8", *refusal + "\n", {}};
        }
        return {200, "application/json", std::move(std::get<ProfileStretch>(window).json), {}};
    }
    if (resource == Resource::kPieces) return {200, "application/json", session.piece_texts(query), {}};
    if (resource == Resource::kPosition) {
        auto position = session.train_position(query);
        if (const std::string* refusal = std::get_if<std::string>(&position)) {
            return {400, "text/plain; charset=utf-8", *refusal + "\n", {}};
        }
        return {200, "application/json", std::move(std::get<TrainPosition>(position).json), {}};
    }
    return {404, "text/plain; charset=utf-8", "no such request\n", {}};
}

}  // namespace scenariogen
