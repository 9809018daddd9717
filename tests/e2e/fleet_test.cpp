// The real monitor and a real mosquitto on loopback: every topic after a black-out, /metrics
// as Prometheus text, the last will on SIGKILL, a broker restart with events to tell; the
// endpoint's bounds against hostile clients.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <thread>

#include "broker.h"

namespace treld::e2e {
namespace {

// What a shell command wrote.
std::string commandOutput(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    pclose(pipe);
    return output;
}

// The page, or Python's report of what went wrong.
std::string httpGet(int port, const std::string& path) {
    return commandOutput(
        "python3 -c \"import sys, urllib.request as r; sys.stdout.write(r.urlopen("
        "'http://127.0.0.1:" +
        std::to_string(port) + path + "', timeout=5).read().decode())\" 2>&1");
}

// Samples by `name{labels}`; fails the test on any line that is not
// Prometheus text or a sample of a family without its TYPE.
std::map<std::string, double> parsePrometheus(const std::string& text) {
    static const std::regex kType(R"(# TYPE ([a-zA-Z_:][a-zA-Z0-9_:]*) (gauge|counter))");
    static const std::regex kSample(
        R"(([a-zA-Z_:][a-zA-Z0-9_:]*)(\{[a-zA-Z_]\w*="(?:[^"\\]|\\.)*"(?:,[a-zA-Z_]\w*="(?:[^"\\]|\\.)*")*\}) (\S+))");
    std::map<std::string, std::string> types;
    std::map<std::string, double> samples;
    std::istringstream lines(text);
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_match(line, match, kType)) {
            types[match[1]] = match[2];
        } else if (std::regex_match(line, match, kSample)) {
            EXPECT_EQ(types[match[1]] == "counter", match[1].str().ends_with("_total")) << line;
            samples[match[1].str() + match[2].str()] = std::stod(match[3]);
        } else {
            EXPECT_TRUE(line.starts_with("# HELP ")) << line;
        }
    }
    return samples;
}

bool holds(const std::vector<Received>& messages, const std::string& text) {
    return std::any_of(messages.begin(), messages.end(), [&](const Received& m) {
        return m.payload.find(text) != std::string::npos;
    });
}

// A station (sts-sim playing `scenario`, treld with mqtt.cfg) and its broker;
// `watcher` subscribes to everything before the monitor starts.
struct FleetStation {
    explicit FleetStation(const std::string& scenario,
                          const std::vector<std::string>& arguments = {}) {
        dir.write("mqtt.cfg", "HOST:127.0.0.1\nPORT:" + std::to_string(broker.port()) +
                                  "\nMETRICS:" + std::to_string(metricsPort) + "\n");
        dir.write("fault.scn", scenario);
        simulator = startSimulator(dir, {"--scenario", (dir.path() / "fault.scn").string()});
        monitor = startMonitor(dir, (dir.path() / "sts-line").string(),
                               "COMPORT:1\r\nTIMEOUT:500\r\nSNAME:plant-7\r\nREMOTEPORT:" +
                                   std::to_string(freeTcpPort()) + "\r\n",
                               0, arguments);
    }

    ProgramDir dir;
    Broker broker{dir};
    int metricsPort = freeTcpPort();
    Subscriber watcher{dir, broker, "#", "watcher"};
    std::unique_ptr<Process> simulator, monitor;
};

TEST(Fleet, BlackOutReachesEveryTopicMetricsReadAsPrometheusAndKillLeavesTheWill) {
    FleetStation station("1s source1 blackout\n");
    const auto events = station.watcher.waitFor("/event", 2, 20s);
    ASSERT_GE(events.size(), 2u);
    const std::regex event(
        R"re(\{"code":(\d+),"time":"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d","text":"(.*)"\})re");
    std::smatch fields;
    ASSERT_TRUE(std::regex_match(events[0].payload, fields, event)) << events[0].payload;
    EXPECT_EQ(fields[1].str() + fields[2].str(), "1Program start");
    ASSERT_TRUE(std::regex_match(events[1].payload, fields, event)) << events[1].payload;
    EXPECT_EQ(fields[1].str() + fields[2].str(), "100-S1 Black out-S1 BAD--Transfer inhibit");
    std::this_thread::sleep_for(2s);  // the status and the panels of the black-out

    Subscriber late(station.dir, station.broker, "#", "late");
    const auto discovery = late.waitFor("/config", 47, 5s);
    EXPECT_EQ(discovery.size(), 47u);
    EXPECT_TRUE(holds(
        discovery,
        R"("state_topic":"sts/plant-7/measurements","value_template":"{{ value_json.source2_l1_voltage }}","unit_of_measurement":"V")"));
    EXPECT_TRUE(holds(
        discovery,
        R"("value_template":"{{ 'ON' if value_json.alarms.s1_blackout else 'OFF' }}","device_class":"problem")"));
    const auto online = late.waitFor("/online", 1, 1s), status = late.waitFor("/status", 1, 1s);
    ASSERT_TRUE(online.size() == 1 && status.size() == 1);
    EXPECT_TRUE(online[0].retained && online[0].payload == "online" && status[0].retained);
    for (
        const char* part :
        {R"("link":{"kind":"serial","peer":"COM1","up":true},"login":"Logout","transfer":{"source":2,)",
         R"("faults":{"source1":"S1 Black out","source2":"","output":"Transfer inhibit"})",
         R"("s1_blackout":true,)", R"("s2_blackout":false,)", R"("output_sw_off":false})"})
        EXPECT_NE(status[0].payload.find(part), std::string::npos)
            << part << " in " << status[0].payload;
    EXPECT_TRUE(
        holds(station.watcher.waitFor("/measurements", 1, 1s), "{\"source1_l1_voltage\":0,"));

    const std::string page = httpGet(station.metricsPort, "/metrics");
    auto samples = parsePrometheus(page);
    EXPECT_GT(samples[R"(treld_source_voltage_volts{station="plant-7",source="2",phase="L1"})"],
              200);
    EXPECT_EQ(samples[R"(treld_source_voltage_volts{station="plant-7",source="1",phase="L3"})"], 0);
    EXPECT_EQ(samples[R"(treld_alarm{station="plant-7",alarm="s1_blackout"})"], 1);
    EXPECT_EQ(samples[R"(treld_link_up{station="plant-7"})"], 1);
    EXPECT_GT(samples[R"(treld_exchanges_total{station="plant-7"})"], 20);
    EXPECT_EQ(samples[R"(treld_mqtt_connected{station="plant-7"})"], 1);
    EXPECT_EQ(samples[R"(treld_load_source{station="plant-7"})"], 2);
    EXPECT_EQ(samples.size(), 16u + 30 + 11) << page;
    station.dir.write("metrics.txt", page);
    EXPECT_EQ(commandOutput("promtool check metrics < " +
                            (station.dir.path() / "metrics.txt").string() + " 2>&1 && echo clean"),
              "clean\n");
    EXPECT_NE(httpGet(station.metricsPort, "/other").find("HTTP Error 404"), std::string::npos);

    station.monitor->stop();  // SIGKILL: the broker says it for the monitor
    const auto will = station.watcher.waitFor("/online", 2, 5s);
    ASSERT_EQ(will.size(), 2u);
    EXPECT_EQ(will[1].payload, "offline");
}

TEST(Fleet, BrokerRestartLosesNoEventAndTheStatusIsCurrentAfterReconnect) {
    FleetStation station("4s source1 blackout\n");
    ASSERT_EQ(station.watcher.waitFor("/status", 1, 10s).size(), 1u);
    station.broker.stop();
    std::this_thread::sleep_for(6s);  // the black-out happens meanwhile
    station.broker.start();

    const auto events = station.watcher.waitFor("/event", 2, 40s);
    ASSERT_GE(events.size(), 2u);
    EXPECT_NE(events[1].payload.find("-S1 Black out"), std::string::npos) << events[1].payload;
    std::this_thread::sleep_for(1s);
    Subscriber late(station.dir, station.broker, "sts/+/status", "late");
    const auto status = late.waitFor("/status", 1, 5s);
    ASSERT_EQ(status.size(), 1u);
    EXPECT_NE(status[0].payload.find(R"("s1_blackout":true)"), std::string::npos)
        << status[0].payload;
}

// What a station that has ended told, times left out: its event files, then the events, the
// discovery and the presence it published.
std::string told(const FleetStation& station) {
    std::string told;
    for (const auto& file : std::filesystem::directory_iterator(station.dir.path() / "SERLOGS"))
        told += station.dir.read("SERLOGS/" + file.path().filename().string());
    for (const std::string suffix : {"/event", "/config", "/online"}) {
        std::vector<std::string> published;
        for (const Received& message : station.watcher.waitFor(suffix, SIZE_MAX, 100ms))
            published.push_back(message.topic + " " + message.payload + "\n");
        if (suffix == "/config")  // in no particular order
            std::sort(published.begin(), published.end());
        for (const std::string& line : published)
            told += line;
    }
    static const std::regex kTimes(R"(\d\d-\d\d-\d{4}--\d\d:\d\d:\d\d|"time":"[^"]*")");
    return std::regex_replace(told, kTimes, "TIME");
}

// The same black-out on a windowed station and on a headless one: the same event lines and
// fleet messages, and no widget, GUI or font library in the headless process.
TEST(Fleet, TheHeadlessStationMapsNoWidgetLibraryAndTellsWhatTheWindowedOneTells) {
    FleetStation windowed("1s source1 blackout\n"),
        headless("1s source1 blackout\n", {"--headless"});
    ASSERT_FALSE(headless.watcher.waitFor("/event", 1, 10s).empty());
    auto libraries = [](const Process& process) {
        std::ifstream maps("/proc/" + std::to_string(process.pid()) + "/maps");
        std::string text((std::istreambuf_iterator<char>(maps)), {}), found;
        static const std::regex kGraphical(
            R"(lib(Qt6(Widgets|Gui|Charts)|fontconfig|freetype|X11|xcb)[.\w-]*)");
        for (std::sregex_iterator i(text.begin(), text.end(), kGraphical), end; i != end; ++i)
            found += i->str() + " ";
        return found;
    };
    EXPECT_NE(libraries(*windowed.monitor).find("libQt6Widgets"), std::string::npos);
    EXPECT_EQ(libraries(*headless.monitor), "");
    for (FleetStation* station : {&windowed, &headless})
        ASSERT_GE(station->watcher.waitFor("/event", 2, 20s).size(), 2u);
    std::this_thread::sleep_for(2s);  // the status and the panels of the black-out
    for (FleetStation* station : {&windowed, &headless}) {
        station->monitor->signal(SIGTERM);
        EXPECT_EQ(station->monitor->exitCode(5s), 0);
    }
    EXPECT_EQ(told(headless), told(windowed));
    EXPECT_NE(told(windowed).find(" 2 TIME Program end"), std::string::npos) << told(windowed);
}

// A client of 127.0.0.1:port that sent `text`.
int client(int port, const std::string& text = "") {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const timeval wait{0, 100'000};  // a server that stops accepting leaves connect waiting
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    sockaddr_in address{AF_INET, htons(std::uint16_t(port)), {htonl(INADDR_LOOPBACK)}, {}};
    connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    send(fd, text.data(), text.size(), MSG_NOSIGNAL);
    return fd;
}

// What the server sent until it closed the connection; nothing when still open at `end`.
std::optional<std::string> untilClosed(int fd, Clock::time_point end) {
    std::string data;
    char buffer[4096];
    for (pollfd ready{fd, POLLIN, 0};
         poll(&ready, 1, std::max(0, int((end - Clock::now()) / 1ms))) > 0;) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            return data;
        data.append(buffer, std::size_t(n));
    }
    return std::nullopt;
}

// HTTP/1.0 and Connection: close end the connection after the reply, an endless header
// ends it at once, and so does a 10 MB one; under a limit of 100 open files, 200 idle
// scrapers, one that sends its header a byte at a time, a viewer that never reads its stream
// and 30 idle relay clients cost no CPU, hide no black-out, lock no newcomer out and leave
// the endpoint and the relay serving.
TEST(MetricsEndpoint, ClientsAreBoundedAndALowFileLimitLosesNeitherTheEventsNorTheRelay) {
    ProgramDir dir;
    const int metrics = freeTcpPort(), relay = freeTcpPort();
    dir.write("mqtt.cfg", "METRICS:" + std::to_string(metrics) + "\n");
    dir.write("fault.scn", "4s source1 blackout\n");  // while the idle clients hold on
    const auto simulator = startSimulator(dir, {"--scenario", (dir.path() / "fault.scn").string()});
    const auto monitor = startMonitor(
        dir, (dir.path() / "sts-line").string(),
        "COMPORT:1\r\nTIMEOUT:500\r\nREMOTEPORT:" + std::to_string(relay) + "\r\n", 100);
    std::optional<std::string> page = "";  // "": refused, the monitor is not listening yet
    for (int i = 0; i < 50 && page == ""; ++i, std::this_thread::sleep_for(100ms))
        page = untilClosed(client(metrics, "GET /metrics HTTP/1.0\r\n\r\n"), Clock::now() + 1s);
    EXPECT_NE(page.value_or("").find("treld_link_up"), std::string::npos);
    const int viewer = client(metrics, "GET /api/v1/stream HTTP/1.1\r\n\r\n");  // never read
    std::vector<int> idle;
    for (int i = 0; i < 230; ++i)
        idle.push_back(client(i < 200 ? metrics : relay, i < 200 ? "G" : ""));
    std::this_thread::sleep_for(1100ms);  // idle long enough to make room for a newcomer
    const auto newcomer =
        untilClosed(client(metrics, "GET /metrics HTTP/1.0\r\n\r\n"), Clock::now() + 1s);
    EXPECT_NE(newcomer.value_or("").find("treld_link_up"), std::string::npos)
        << "idle clients lock a newcomer out";
    const int slow = client(metrics, "G");
    const double cpu = monitor->cpuSeconds();
    std::size_t open = 0;
    const Clock::time_point end = Clock::now() + 7s;
    for (int i = 0; i < 14; ++i, std::this_thread::sleep_for(300ms))
        send(slow, "E", 1, MSG_NOSIGNAL);
    for (int i = 0; i < 200; ++i)
        open += !untilClosed(idle[i], end);
    EXPECT_EQ(open + !untilClosed(slow, end), 0u) << "HTTP clients still connected after 7 s";
    std::cout << "230 idle clients: " << monitor->cpuSeconds() - cpu << " CPU-s in 7 s\n";
    EXPECT_LT(monitor->cpuSeconds() - cpu, 1.0) << "a spinning monitor";
    const auto month = *std::filesystem::directory_iterator(dir.path() / "SERLOGS");
    EXPECT_NE(dir.read("SERLOGS/" + month.path().filename().string()).find("-S1 Black out"),
              std::string::npos);
    for (int fd : idle)
        close(fd);
    close(viewer);
    const std::string big = "GET /metrics HTTP/1.1\r\nX: " + std::string(10'000'000, 'x');
    for (const std::string& request :
         std::vector<std::string>{"GET /metrics HTTP/1.1\r\nConnection: close\r\n\r\n",
                                  "HEAD /metrics HTTP/1.0\r\n\r\n", big}) {
        const auto reply = untilClosed(client(metrics, request), Clock::now() + 2s);
        EXPECT_TRUE(reply && (request == big || reply->starts_with("HTTP/1.1 200 OK")))
            << request.substr(0, 40);
    }
    const auto answer = untilClosed(client(relay, "SRV\r"), Clock::now() + 3s);
    EXPECT_TRUE(answer && answer->starts_with("#")) << answer.value_or("no answer");
}

}  // namespace
}  // namespace treld::e2e
