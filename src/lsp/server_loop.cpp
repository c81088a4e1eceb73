#include "lsp/server_loop.h"

#include <mutex>
#include <ostream>
#include <vector>

#include "lsp/disk_watch.h"
#include "lsp/language_server.h"
#include "lsp/message_framing.h"
#include "platform/file_system.h"

namespace scenariogen::lsp {

namespace {

void watch_files_of(DiskWatch& disk, const std::vector<std::string>& paths, std::ostream& log) {
    try {
        disk.watch(paths);
    } catch (const FileError& failure) {
        log << "scenariogen lsp: partner files are read again only at the next open or save: " << failure.what()
            << "\n";
    }
}

}  // namespace

int serve(ByteStream& stream, const std::string& version, std::ostream& log) {
    // The server and the output are shared with the thread that watches the
    // partner files on disk.
    std::mutex serving;
    bool client_gone = false;
    LanguageServer server(version, [&](const nlohmann::json& message) {
        if (!client_gone && !stream.write_all(frame_message(serialise(message)))) client_gone = true;
    });
    MessageReader reader;
    std::vector<char> buffer(std::size_t{1} << 16);
    DiskWatch disk([&] {
        const std::lock_guard lock(serving);
        if (server.exited()) return std::vector<std::string>();
        server.files_changed_on_disk();
        server.publish_diagnostics();
        return server.files_to_watch();
    });
    for (;;) {
        const std::size_t count = stream.read_some(buffer.data(), buffer.size());
        std::unique_lock lock(serving);
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
        // The files are watched before they are read for the diagnostics,
        // so that no change between the two goes unseen.
        const std::vector<std::string> watched = server.files_to_watch();
        lock.unlock();
        watch_files_of(disk, watched, log);
        lock.lock();
        server.publish_diagnostics();
        if (client_gone) {
            log << "scenariogen lsp: the client no longer reads the output\n";
            return 1;
        }
    }
}

}  // namespace scenariogen::lsp
