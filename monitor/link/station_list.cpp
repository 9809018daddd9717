#include "link/station_list.h"

#include "link/line.h"

namespace treld {
namespace {

// The address of remote station n (1..3).
const std::string& remoteIp(const StationConfig& config, int n) {
    const std::string* const kIps[] = {&config.RemoteIp1, &config.RemoteIp2, &config.RemoteIp3};
    return *kIps[n - 1];
}

// Connect: the selected entry's station becomes the link of the next send.
void connectSelectedStation(LinkCore& c) {
    const int index = c.ui(kStationList).listIndex();
    if (index < 0 || index >= static_cast<int>(c.s.stationNumbers.size()))
        return;
    const Int16 n = c.s.stationNumbers[index];
    if (n == 0) {
        c.line.useStation(0, {});
        return;
    }
    const std::string& address = remoteIp(c.config, n);
    if (!address.empty())
        c.line.useStation(n, address);
}

}  // namespace

void declareStationListElements(DisplayModel& ui) {
    ui.declare(kStationList);
    ui.declare(kConnect, {.caption = "Connect"});
    ui.declare(kStationNameLabel);
}

void STSLIST(LinkCore& c) {
    c.ui(kStationNameLabel).setCaption(c.config.StationName);
    Element& list = c.ui(kStationList);
    list.clearItems();
    c.s.stationNumbers.clear();
    list.addItem("Connect to Local STS on RS232");
    c.s.stationNumbers.push_back(0);
    list.setListIndex(0);
    // An entry keeps its address's number even when an earlier address is empty.
    for (Int16 n = 1; n <= 3; ++n) {
        const std::string& address = remoteIp(c.config, n);
        if (address.empty())
            continue;
        list.addItem("Connect to Remote STS on " + address);
        c.s.stationNumbers.push_back(n);
    }
}

bool onStationListEvent(LinkCore& c, const OperatorEvent& event) {
    using Kind = OperatorEvent::Kind;
    if (event.kind == Kind::Select && event.is(kStationList)) {
        Element& list = c.ui(kStationList);
        if (event.number >= 0 && event.number < static_cast<int>(list.items().size()))
            list.setListIndex(event.number);
        return true;
    }
    if (event.kind == Kind::Click && event.is(kConnect)) {
        connectSelectedStation(c);
        return true;
    }
    return false;
}

}  // namespace treld
