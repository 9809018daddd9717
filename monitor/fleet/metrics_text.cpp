#include "fleet/metrics_text.h"

#include "fleet/station_values.h"
#include "fleet/text_formats.h"
#include "link/line.h"

namespace treld {
namespace {

struct Family {
    std::string_view metric;
    std::string_view type;
    std::string_view help;
};

class Exposition {
  public:
    explicit Exposition(std::string_view station) : station_(labelValue(station)) {}

    void family(const Family& family) {
        text_ += "# HELP " + std::string(family.metric) + " " + std::string(family.help) + "\n";
        text_ += "# TYPE " + std::string(family.metric) + " " + std::string(family.type) + "\n";
    }

    // One sample; `labels` are further name="value" pairs, each led by a comma.
    void sample(std::string_view metric, std::string_view labels, double value) {
        text_ += std::string(metric) + "{station=" + station_ + std::string(labels) + "} " +
                 numberText(value) + "\n";
    }

    void single(const Family& family, double value) {
        this->family(family);
        sample(family.metric, "", value);
    }

    std::string text() const { return text_; }

  private:
    std::string station_;
    std::string text_;
};

std::string label(std::string_view name, std::string_view value) {
    return value.empty() ? "" : "," + std::string(name) + "=" + labelValue(value);
}

// source="1",phase="L2", each where it applies.
std::string sourceAndPhase(const PanelQuantity& quantity) {
    return label("source", quantity.source == 0 ? "" : std::to_string(quantity.source)) +
           label("phase", quantity.phase == 0 ? "" : "L" + std::to_string(quantity.phase));
}

}  // namespace

std::string metricsText(const DeviceCore& c, std::string_view station,
                        const PublishingFigures* publishing,
                        const std::vector<TargetFigures>& notifying) {
    Exposition out(station);
    for (const QuantityFamily& family : quantityFamilies()) {
        out.family({family.metric, "gauge", family.help});
        for (const PanelQuantity& quantity : kPanelQuantities) {
            const std::optional<double> value = measurementValue(c, quantity);
            if (quantity.kind == family.kind && value)
                out.sample(family.metric, sourceAndPhase(quantity), *value);
        }
    }
    if (statusKnown(c)) {
        out.family({"treld_alarm", "gauge", "Alarm lamp of the switch: 1 red, 0 green."});
        for (const FlagPosition* lamp : lampsInOrder()) {
            out.sample("treld_alarm", label("alarm", alarmName(*lamp)),
                       c.status.StatusFlags[lamp->lamp] != 0 ? 1 : 0);
        }
        const Int16 source = c.status.SourceIndicator;
        if (source == 0 || source == 1)
            out.single({"treld_load_source", "gauge", "The source feeding the load: 1 or 2."},
                       source + 1);
    }
    const Counters& counters = c.counters;
    out.single({"treld_link_up", "gauge", "1 unless the link to the switch counts as lost."},
               c.line.health().lost ? 0 : 1);
    out.single({"treld_exchanges_total", "counter", "Commands the poll cycles sent."},
               static_cast<double>(counters.exchanges));
    out.single({"treld_timeouts_total", "counter",
                "Exchanges whose reply did not come or failed its format test."},
               static_cast<double>(counters.timeOuts));
    out.single({"treld_relay_clients", "gauge", "Relay clients connected now."},
               c.relay.clientCount());
    out.single({"treld_mail_programs_started_total", "counter", "Alarm and test mails started."},
               static_cast<double>(counters.mailProgramsStarted));
    out.single({"treld_mail_programs_failed_total", "counter",
                "Mail programs that ended without sending (see drovelin.log)."},
               static_cast<double>(counters.mailProgramsFailed));
    if (!notifying.empty()) {
        out.family({"treld_notifications_failed_total", "counter",
                    "Delivery attempts of notify.cfg's targets that failed (see notify.log)."});
        for (const TargetFigures& target : notifying)
            out.sample("treld_notifications_failed_total", label("target", target.name),
                       static_cast<double>(target.failed));
    }
    if (publishing != nullptr) {
        out.single({"treld_mqtt_connected", "gauge", "1 while the MQTT broker is connected."},
                   publishing->connected ? 1 : 0);
        out.single({"treld_mqtt_queued_messages", "gauge", "Messages waiting for the broker."},
                   static_cast<double>(publishing->queued));
        out.single({"treld_mqtt_published_messages_total", "counter", "Messages the broker took."},
                   static_cast<double>(publishing->published));
        out.single({"treld_mqtt_dropped_events_total", "counter",
                    "Events dropped from a full queue while the broker was away."},
                   static_cast<double>(publishing->droppedEvents));
    }
    return out.text();
}

}  // namespace treld
