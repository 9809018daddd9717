// The broker link of the real program: libmosquitto on a thread of its own,
// so name look-up, connecting, TLS and writing never hold up the Qt event
// loop. Outcomes come back to the Qt thread as queued signals; those of an
// attempt the fleet has given up are dropped.
#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "fleet/broker_link.h"
#include "fleet/fleet_settings.h"

struct mosquitto;
struct mosquitto_message;

namespace treld {

class MqttClient : public QObject, public BrokerLink {
    Q_OBJECT
  public:
    explicit MqttClient(FleetSettings settings, QObject* parent = nullptr);
    // A connected client says "offline" on the will's topic and leaves
    // cleanly, so the broker keeps the will for a real failure.
    ~MqttClient() override;

    void connectBroker(const BrokerMessage& will) override;
    void disconnectBroker() override;
    int publish(const BrokerMessage& message) override;
    void subscribe(const std::string& filter) override;

    // Received messages waiting for the Qt thread: beyond this many bytes a
    // flood is dropped (and counted) rather than queued.
    static constexpr std::size_t kWaitingBytes = 8 * 1024 * 1024;

  signals:
    void connected();
    void lost(const QString& reason);
    void delivered(int messageId);
    // `dropped`: messages let go since the previous one.
    void received(const QByteArray& topic, const QByteArray& payload, bool retained,
                  quint64 dropped);

  private:
    // The worker thread's side.
    void run();
    void startAttempt(std::unique_lock<std::mutex>& lock);
    void sayGoodbye();
    void dropHandle();
    void report(int attempt, const std::function<void()>& signal);
    static void onConnect(mosquitto* handle, void* self, int code);
    static void onPublish(mosquitto* handle, void* self, int messageId);
    static void onMessage(mosquitto* handle, void* self, const mosquitto_message* message);

    const FleetSettings settings_;
    std::mutex mutex_;
    std::condition_variable wake_;
    // Written by the Qt thread under the mutex.
    bool connectWanted_ = false;
    bool disconnectWanted_ = false;
    bool stopping_ = false;
    int generation_ = 0;  // bumped by every request; older outcomes are stale
    BrokerMessage will_;
    // The worker's; the handle is swapped under the mutex.
    mosquitto* handle_ = nullptr;
    bool active_ = false;  // a connection attempt or connection is running
    bool sessionUp_ = false;
    int attempt_ = 0;
    std::string refusal_;
    std::atomic<std::size_t> waitingBytes_ = 0;
    std::uint64_t droppedMessages_ = 0;  // the worker's
    std::thread worker_;
};

}  // namespace treld
