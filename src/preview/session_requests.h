// The page's requests of the session, answered: /model?acceleration=&braking=&max_speed=
// draws again with the model's values (204, or 400 with the refusal), and
// /export?format=svg|png|pdf downloads the drawing as it stands, and
// /window?from_m=&to_m= draws that stretch of the profile, and
// /pieces?keys= sends pieces of the drawing (see drawing_pieces.h), and
// /position?clock_s= the train's place at that time (see train_position.h).
#pragma once

#include <string_view>

#include "preview/http_server.h"
#include "preview/preview_session.h"

namespace scenariogen {

ActionReply answer_session_request(PreviewSession& session, Resource resource, std::string_view query);

}  // namespace scenariogen
