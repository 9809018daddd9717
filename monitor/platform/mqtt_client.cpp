#include "platform/mqtt_client.h"

#include <mosquitto.h>

#include <functional>

#include "fleet/fleet_board.h"

namespace treld {
namespace {

constexpr int kKeepAliveSeconds = 10;
constexpr int kLoopWaitMs = 200;  // also how soon the thread sees a stop

}  // namespace

MqttClient::MqttClient(FleetSettings settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings)) {
    mosquitto_lib_init();
    worker_ = std::thread([this] { run(); });
}

MqttClient::~MqttClient() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    worker_.join();
    mosquitto_lib_cleanup();
}

void MqttClient::connectBroker(const BrokerMessage& will) {
    {
        const std::lock_guard lock(mutex_);
        ++generation_;
        will_ = will;
        connectWanted_ = true;
        disconnectWanted_ = false;
    }
    wake_.notify_one();
}

void MqttClient::disconnectBroker() {
    {
        const std::lock_guard lock(mutex_);
        ++generation_;
        connectWanted_ = false;
        disconnectWanted_ = true;
    }
    wake_.notify_one();
}

int MqttClient::publish(const BrokerMessage& message) {
    const std::lock_guard lock(mutex_);
    if (handle_ == nullptr)
        return 0;
    int id = 0;
    const int result = mosquitto_publish(handle_, &id, message.topic.c_str(),
                                         static_cast<int>(message.payload.size()),
                                         message.payload.data(), message.qos, message.retain);
    return result == MOSQ_ERR_SUCCESS ? id : 0;
}

void MqttClient::subscribe(const std::string& filter) {
    const std::lock_guard lock(mutex_);
    if (handle_ != nullptr)
        mosquitto_subscribe(handle_, nullptr, filter.c_str(), 1);
}

void MqttClient::report(int attempt, const std::function<void()>& signal) {
    QMetaObject::invokeMethod(
        this,
        [this, attempt, signal] {
            if (attempt == generation_)
                signal();
        },
        Qt::QueuedConnection);
}

void MqttClient::onConnect(mosquitto*, void* self, int code) {
    auto* client = static_cast<MqttClient*>(self);
    if (code != 0) {
        // The loop fails right after; it reports the refusal.
        client->refusal_ = mosquitto_connack_string(code);
        return;
    }
    client->sessionUp_ = true;
    client->report(client->attempt_, [client] { emit client->connected(); });
}

void MqttClient::onPublish(mosquitto*, void* self, int messageId) {
    auto* client = static_cast<MqttClient*>(self);
    client->report(client->attempt_, [client, messageId] { emit client->delivered(messageId); });
}

void MqttClient::onMessage(mosquitto*, void* self, const mosquitto_message* message) {
    auto* client = static_cast<MqttClient*>(self);
    // The board refuses what is longer than its limit: one byte more says so.
    const QByteArray payload(static_cast<const char*>(message->payload),
                             std::min<qsizetype>(message->payloadlen, kBoardPayloadBytes + 1));
    const QByteArray topic(message->topic);
    const std::size_t size = topic.size() + payload.size();
    if (client->waitingBytes_ + size > kWaitingBytes) {
        ++client->droppedMessages_;
        return;
    }
    client->waitingBytes_ += size;
    const quint64 dropped = std::exchange(client->droppedMessages_, 0);
    const bool retained = message->retain;
    QMetaObject::invokeMethod(
        client,
        [client, topic, payload, retained, dropped, size] {
            client->waitingBytes_ -= size;
            emit client->received(topic, payload, retained, dropped);
        },
        Qt::QueuedConnection);
}

void MqttClient::run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (disconnectWanted_) {
            disconnectWanted_ = false;
            dropHandle();
        }
        if (connectWanted_)
            startAttempt(lock);
        if (!active_) {
            wake_.wait(lock, [this] { return stopping_ || connectWanted_ || disconnectWanted_; });
            continue;
        }
        mosquitto* handle = handle_;
        lock.unlock();
        const int result = mosquitto_loop(handle, kLoopWaitMs, 1);
        lock.lock();
        if (result != MOSQ_ERR_SUCCESS && active_ && !disconnectWanted_) {
            const QString reason =
                QString::fromUtf8(refusal_.empty() ? mosquitto_strerror(result) : refusal_.c_str());
            report(attempt_, [this, reason] { emit lost(reason); });
            active_ = sessionUp_ = false;
        }
    }
    sayGoodbye();
    dropHandle();
}

// One attempt on a fresh handle, so nothing of an earlier connection is sent
// twice: the fleet puts back what was never delivered.
void MqttClient::startAttempt(std::unique_lock<std::mutex>& lock) {
    connectWanted_ = false;
    const BrokerMessage will = will_;
    const int attempt = generation_;
    lock.unlock();

    mosquitto* next = mosquitto_new(nullptr, true, this);
    int result = next == nullptr ? MOSQ_ERR_NOMEM : MOSQ_ERR_SUCCESS;
    if (result == MOSQ_ERR_SUCCESS) {
        mosquitto_threaded_set(next, true);
        mosquitto_connect_callback_set(next, &MqttClient::onConnect);
        mosquitto_publish_callback_set(next, &MqttClient::onPublish);
        mosquitto_message_callback_set(next, &MqttClient::onMessage);
        result = mosquitto_will_set(next, will.topic.c_str(), static_cast<int>(will.payload.size()),
                                    will.payload.data(), will.qos, will.retain);
    }
    if (result == MOSQ_ERR_SUCCESS && !settings_.username.empty()) {
        result = mosquitto_username_pw_set(
            next, settings_.username.c_str(),
            settings_.password.empty() ? nullptr : settings_.password.c_str());
    }
    if (result == MOSQ_ERR_SUCCESS && !settings_.caFile.empty())
        result =
            mosquitto_tls_set(next, settings_.caFile.c_str(), nullptr, nullptr, nullptr, nullptr);
    if (result == MOSQ_ERR_SUCCESS) {
        // The name look-up happens here, on this thread.
        result = mosquitto_connect_async(next, settings_.host.c_str(), settings_.brokerPort(),
                                         kKeepAliveSeconds);
    }

    const QString reason = QString::fromUtf8(mosquitto_strerror(result));

    lock.lock();
    dropHandle();
    handle_ = next;
    attempt_ = attempt;
    refusal_.clear();
    active_ = result == MOSQ_ERR_SUCCESS;
    if (!active_)
        report(attempt, [this, reason] { emit lost(reason); });
}

void MqttClient::dropHandle() {
    if (handle_ != nullptr)
        mosquitto_destroy(handle_);
    handle_ = nullptr;
    active_ = sessionUp_ = false;
}

void MqttClient::sayGoodbye() {
    if (handle_ == nullptr || !sessionUp_)
        return;
    mosquitto_publish(handle_, nullptr, will_.topic.c_str(), static_cast<int>(will_.payload.size()),
                      will_.payload.data(), 0, will_.retain);
    mosquitto_disconnect(handle_);
    for (int i = 0; i < 5 && mosquitto_loop(handle_, kLoopWaitMs, 1) == MOSQ_ERR_SUCCESS; ++i) {
    }
}

}  // namespace treld
