// The preview's session: the latest compilation of the author's two files,
// the model's values chosen on the page, and the state the page is sent of
// both. The compiling thread and the server's thread both come here, one
// at a time; every state published is numbered one more than the last.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>

#include "preview/drawing_pieces.h"
#include "preview/editor_link.h"
#include "preview/preview_compilation.h"
#include "timetable/train_model.h"

namespace scenariogen {

// A state as it is published: the whole document (see state_json), and the
// event that brings it to open pages, its parts named by key (see
// state_event_json).
struct PublishedState {
    std::string document;
    std::string event;
};

struct PreviewSinks {
    std::function<void(PublishedState)> publish;
    // After each compilation without an error: what compile would write may be written.
    std::function<void(const PreviewCompilation&)> on_clean;
    // One line for the author's terminal about each compilation.
    std::function<void(const std::string& line)> report;
};

struct PreviewSettings {
    TrainModelChoice model;                     // as given on the command line; the page may change it
    std::string editor_url{kDefaultEditorUrl};  // a fault's link (see editor_link.h); empty: none
};

// The drawn page in a format of `plot --format`, ready to be downloaded.
struct PageDownload {
    std::string bytes;
    std::string content_type;
    std::string file_name;  // NAME_NUMBER.svg, .png or .pdf
};

// A stretch of the profile drawn for the page, as JSON:
// {"generation", "from_m", "to_m", "svg"}.
struct ProfileStretch {
    std::string json;
};

// The train's place at a time of day, as JSON (see train_position.h).
struct TrainPosition {
    std::string json;
};

class PreviewSession {
public:
    PreviewSession(PreviewSources sources, PreviewSinks sinks, PreviewSettings settings = {});

    // Compiles both files again, draws them and publishes the new state;
    // reports it, and hands a clean compilation to on_clean.
    void recompile();

    // The model's values from the page (see model_query.h): the latest
    // compilation is drawn again with them and published. Empty when they
    // were taken, else the short sentence that refuses them.
    std::string choose_model(std::string_view query);

    // The drawing as it stands in format=svg|png|pdf; else why not.
    std::variant<PageDownload, std::string> download(std::string_view query);

    // The profile's stretch from_m=A&to_m=B (metres, A < B) of the drawing
    // as it stands; else why not.
    std::variant<ProfileStretch, std::string> profile_window(std::string_view query);

    // The text of the pieces keys=KEY,KEY,... of the drawing and of the
    // state's parts (see drawing_pieces.h, state_event_json) as JSON
    // {KEY: TEXT}, from the state last published and the one before it (a
    // page may ask after the next was published); without keys, every piece
    // of the last. A key of neither is left out.
    std::string piece_texts(std::string_view query);

    // Where the train is at clock_s=T (see train_position.h) on the drawing
    // as it stands; else why not.
    std::variant<TrainPosition, std::string> train_position(std::string_view query);

private:
    void draw_and_publish(double compile_ms, bool report);

    PreviewSources sources_;
    PreviewSinks sinks_;
    PreviewSettings settings_;
    std::string line_absolute_;
    std::string train_absolute_;

    std::mutex mutex_;
    std::uint64_t generation_ = 0;
    std::shared_ptr<const PreviewCompilation> compilation_;
    std::optional<PreviewDrawing> drawing_;
    DrawingPieces pieces_;  // of drawing_, with the texts of the state's parts
    std::unordered_map<std::string, std::string> previous_texts_;
    std::string failure_;  // why there is no drawing although the route has cells
};

}  // namespace scenariogen
