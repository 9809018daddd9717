// The notifications' deliveries for the real program: HTTP requests through
// QNetworkAccessManager and programs through QProcess, each ended by its
// time-out. QtCore and QtNetwork only.
#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <functional>

#include "foundation/platform.h"

namespace treld {

class Deliveries : public QObject {
    Q_OBJECT
  public:
    using Done = std::function<void(int id, const DeliveryOutcome& outcome)>;
    // `done` is called from the event loop, never from within a call below.
    explicit Deliveries(Done done, QObject* parent = nullptr);

    void sendHttp(int id, const OutgoingRequest& request);
    void runProgram(int id, const std::string& path, const Pairs& environment, int timeoutMs);

  private:
    void report(int id, bool delivered, const QString& answer);

    Done done_;
    QNetworkAccessManager network_;
};

}  // namespace treld
