#include "lsp/server_loop.h"

#include <ostream>
#include <vector>

#include "lsp/language_server.h"
#include "lsp/message_framing.h"

namespace scenariogen::lsp {

int serve(ByteStream& stream, const std::string& version, std::ostream& log) {
    bool client_gone = false;
    LanguageServer server(version, [&](const nlohmann::json& message) {
        if (!client_gone && !stream.write_all(frame_message(serialise(message)))) client_gone = true;
    });
    MessageReader reader;
    std::vector<char> buffer(std::size_t{1} << 16);
    for (;;) {
        const std::size_t count = stream.read_some(buffer.data(), buffer.size());
        if (count == 0) {
            log << "scenariogen lsp: the client closed the input"
                << (reader.inside_message() ? " in the middle of a message" : "") << " without exit\n";
            return 1;
        }
        reader.feed(std::string_view(buffer.data(), count));
        while (std::optional<Frame> frame = reader.next()) {
            if (frame->kind == Frame::Kind::kFault) {
                log << "scenariogen lsp: " << frame->text << "\n";
                server.framing_fault(frame->text);
            } else {
                server.handle(frame->text);
            }
            if (server.exited()) return server.exit_status();
        }
        server.publish_diagnostics();
        if (client_gone) {
            log << "scenariogen lsp: the client no longer reads the output\n";
            return 1;
        }
    }
}

}  // namespace scenariogen::lsp
