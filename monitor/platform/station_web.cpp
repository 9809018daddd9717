#include "platform/station_web.h"

#include <QDateTime>

#include "fleet/station_history.h"

namespace treld {
namespace {

HttpReply json(const std::string& text) {
    return {200, "application/json", QByteArray::fromStdString(text) + "\n"};
}

using RangeReader = std::string (*)(const std::filesystem::path&, TimeRange, int);

// A look back between the query's `from` and `to`: 400 for a bad range.
HttpServer::Handler lookBack(const std::filesystem::path& stationDir, std::int64_t longest,
                             RangeReader read) {
    return [stationDir, longest, read](const HttpRequest& request) {
        const auto range = parseTimeRange(
            request.query.queryItemValue("from", QUrl::FullyDecoded).toStdString(),
            request.query.queryItemValue("to", QUrl::FullyDecoded).toStdString(), longest);
        if (const auto* error = std::get_if<std::string>(&range))
            return errorReply(400, QString::fromStdString(*error));
        const int offset = QDateTime::currentDateTime().offsetFromUtc();
        return json(read(stationDir, std::get<TimeRange>(range), offset));
    };
}

}  // namespace

StationWeb::StationWeb(StationSite site)
    : site_(std::move(site)), live_([this] {
          return EventStream::frame("state", QByteArray::fromStdString(site_.feed.stateJson()));
      }) {
    const StationFeed& feed = site_.feed;
    server_.route("/", resourceFile("station.html", "text/html; charset=utf-8"));
    server_.route("/station.js", resourceFile("station.js", "text/javascript; charset=utf-8"));
    server_.route("/station.css", resourceFile("station.css", "text/css; charset=utf-8"));
    server_.route("/metrics", [this](const HttpRequest&) {
        return HttpReply{200, "text/plain; version=0.0.4; charset=utf-8",
                         QByteArray::fromStdString(site_.metrics())};
    });
    server_.route("/api/v1/openapi.json", resourceFile("openapi.json", "application/json"));
    server_.route("/api/v1/layout", [](const HttpRequest&) { return json(layoutJson()); });
    server_.route("/api/v1/status",
                  [&feed](const HttpRequest&) { return json(feed.statusJson()); });
    server_.route("/api/v1/measurements",
                  [&feed](const HttpRequest&) { return json(feed.measurementsJson()); });
    server_.route("/api/v1/events", lookBack(site_.stationDir, kLongestEventRange, eventsBetween));
    server_.route("/api/v1/trends",
                  lookBack(site_.stationDir, kLongestTrendRange, trendRowsBetween));
    server_.stream("/api/v1/stream", live_);

    watch_.setInterval(kWatchMs);
    QObject::connect(&watch_, &QTimer::timeout, [this] { watch(); });
    live_.firstSubscribed = [this] {
        lastState_ = site_.feed.stateJson();  // what the greeting sent
        watch_.start();
    };
}

bool StationWeb::listen(const QString& address, int port) {
    return server_.listen(address, port, [this](const QString& peer) {
        return site_.access.mayRead(peer.toStdString());
    });
}

void StationWeb::watch() {
    if (live_.subscribers() == 0) {
        watch_.stop();
        return;
    }
    std::string state = site_.feed.stateJson();
    if (state == lastState_)
        return;
    lastState_ = std::move(state);
    live_.publish("state", QByteArray::fromStdString(lastState_));
}

}  // namespace treld
