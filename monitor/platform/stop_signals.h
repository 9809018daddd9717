// SIGTERM, SIGINT and SIGHUP become ordinary events of the event loop, so the
// monitor can end cleanly or read its optional files again: the handler only
// writes the signal's number to a socket pair, which the loop reads. A second
// SIGTERM or SIGINT ends the program at once, as if no handler were there;
// SIGHUP never ends it (a closed terminal, or a service manager's reload).
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace treld {

class StopSignals : public QObject {
    Q_OBJECT
  public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

  signals:
    void arrived();  // SIGTERM or SIGINT
    void hangUp();   // SIGHUP

  private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace treld
