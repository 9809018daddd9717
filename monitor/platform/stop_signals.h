// SIGTERM and SIGINT become an ordinary event of the event loop, so the
// monitor can end cleanly: the handler only writes a byte to a socket pair,
// which the loop reads. A second signal of the same kind ends the program at
// once, as if no handler were there.
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
    void arrived();

  private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace treld
