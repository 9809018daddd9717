#include "platform/board_web.h"

namespace treld {

BoardWeb::BoardWeb(HttpServer& server, const FleetBoard& board, std::function<std::int64_t()> now)
    : board_(board),
      now_(std::move(now)),
      stream_([this] { return EventStream::frame("board", boardJson()); }) {
    server.route("/fleet", resourceFile("fleet.html", "text/html; charset=utf-8"));
    server.route("/fleet.js", resourceFile("fleet.js", "text/javascript; charset=utf-8"));
    server.route("/fleet.css", resourceFile("fleet.css", "text/css; charset=utf-8"));
    server.route("/api/v1/fleet", [this](const HttpRequest&) {
        return HttpReply{200, "application/json", boardJson() + "\n"};
    });
    server.stream("/api/v1/fleet/stream", stream_);
    watch_.setInterval(kWatchMs);
    QObject::connect(&watch_, &QTimer::timeout, [this] { watch(); });
    stream_.firstSubscribed = [this] {
        sent_ = board_.version();  // what the greeting sent
        watch_.start();
    };
}

QByteArray BoardWeb::boardJson() const {
    return QByteArray::fromStdString(board_.json(now_()));
}

void BoardWeb::watch() {
    if (stream_.subscribers() == 0) {
        watch_.stop();
        return;
    }
    if (board_.version() == sent_)
        return;
    sent_ = board_.version();
    stream_.publish("board", boardJson());
}

}  // namespace treld
