// The parts of drovelin that need no network: argument, settings, message, log.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "mail_log.h"
#include "mail_request.h"
#include "mail_settings.h"
#include "mime_message.h"

namespace drovelin {
namespace {

TEST(MailArgument, AcceptsBothKindsAndRefusesEverythingElse) {
    const std::optional<MailRequest> alarm = parseMailArgument("1&&send++Alarm<br>-Overload++x");
    ASSERT_TRUE(alarm);
    EXPECT_EQ(alarm->kind, MailKind::Alarm);
    EXPECT_EQ(alarm->text, "Alarm<br>-Overload++x");
    const std::optional<MailRequest> test = parseMailArgument("1&&test message++STS test message");
    ASSERT_TRUE(test);
    EXPECT_EQ(test->kind, MailKind::Test);
    EXPECT_EQ(test->text, "STS test message");
    for (const char* broken : {"", "send++x", "2&&send++x", "1&&send", "1&&Send++x", "1&&mail++x",
                               "1&&test++x", " 1&&send++x"})
        EXPECT_FALSE(parseMailArgument(broken)) << broken;
}

TEST(MailArgument, OnlyTheAlarmTextIsTakenAsHtml) {
    EXPECT_NE(htmlBody({MailKind::Alarm, "a<br>b"}).find("a<br>b"), std::string::npos);
    EXPECT_NE(htmlBody({MailKind::Test, "a<b>&"}).find("a&lt;b&gt;&amp;"), std::string::npos);
}

treld::StationConfig usableConfig() {
    treld::StationConfig config;
    config.SenderAddress = "sts@example.com";
    config.RecipientAddress1 = "ada@example.com";
    config.RecipientAddress3 = "night@example.org";
    config.SmtpHost = "mail.example.com:2525";
    return config;
}

TEST(MailSettings, RefusesUnsafeOrMissingValues) {
    using Config = treld::StationConfig;
    const struct {
        void (*change)(Config&);
        const char* problem;
    } cases[] = {
        {[](Config& c) { c.MailSubject = "Alarm\rBcc: x@evil.com"; },
         "SUBJECT: holds a line break"},
        {[](Config& c) { c.RecipientName1 = "Ada\nBcc: x@evil.com"; },
         "RECEIPNAME1: holds a line break"},
        {[](Config& c) { c.SenderName = "a\x01"; }, "SENDERNAME: holds a control character"},
        {[](Config& c) { c.RecipientAddress3 = "a@b>, x@evil.com"; },
         "RECEIPADRES3: is not a plain"},
        {[](Config& c) { c.SenderAddress = "nobody"; }, "SENDERADRES: is not a plain"},
        {[](Config& c) { c.SenderAddress = ""; }, "SENDERADRES: is empty"},
        {[](Config& c) { c.RecipientAddress1 = c.RecipientAddress3 = ""; }, "no recipient"},
        {[](Config& c) { c.SmtpHost = " "; }, "SMTPHOST: is empty"},
        {[](Config& c) { c.SmtpHost = "host:99999"; }, "SMTPHOST: is not"},
        {[](Config& c) { c.UseAuthentication = 1, c.SmtpPassword = "a\rb"; },
         "PASSWORD: holds a line break"},
        {[](Config& c) { c.UsePopAuthentication = 1; }, "POP3HOST: is not"},
    };
    for (const auto& refused : cases) {
        Config config = usableConfig();
        refused.change(config);
        EXPECT_TRUE(mailSettings(config, {}, MailKind::Alarm).problem.starts_with(refused.problem))
            << refused.problem;
    }
}

TEST(MailSettings, ServerAddressForms) {
    const std::pair<const char*, const char*> accepted[] = {
        {"mail.example.com", "mail.example.com:25"},
        {"mail:587", "mail:587"},
        {"[::1]:2525", "[::1]:2525"},
        {"[::1]", "[::1]:25"}};
    for (const auto& [text, hostAndPort] : accepted) {
        const std::optional<ServerAddress> server = parseServerAddress(text, 25);
        ASSERT_TRUE(server) << text;
        EXPECT_EQ(server->host + ":" + std::to_string(server->port), hostAndPort);
    }
    for (const char* refused :
         {"host:", "host:0", "host:99999", "host:25x", "a b", "user@host", "[::1", "[::1]x"})
        EXPECT_FALSE(parseServerAddress(refused, 25)) << refused;
}

TEST(MailSettings, RetryPolicyIsReadAndBounded) {
    const struct {
        const char* text;
        int attempts, delay;
    } cases[] = {{"", 4, 5},
                 {"MAILRETRY:2\r\nFAILDELAY:0.5\r\n", 2, 0},
                 {"MAILRETRY:7\r\nMAILRETRY:3\r\n", 3, 5},
                 {"MAILRETRY:0\r\nFAILDELAY:-3\r\n", 1, 0},
                 {"MAILRETRY:999\r\nFAILDELAY:99999\r\n", 20, 5}};
    for (const auto& read : cases) {
        const RetryPolicy policy = readRetryPolicy(read.text);
        EXPECT_EQ(policy.attempts, read.attempts) << read.text;
        EXPECT_EQ(policy.delaySeconds, read.delay) << read.text;
    }
}

TEST(MimeMessage, EncodesWhatIsNotShortAsciiAndKeepsLinesShort) {
    const MailMessage message{{"Station \"A\"", "sts@example.com"},
                              {{"J\xFCrgen", "j@example.com"}, {"", "n@example.org"}},
                              std::string(200, '\xE9'),
                              "<p>caf\xC3\xA9</p>",
                              0,
                              "<1@example.com>"};
    const std::string text = buildMimeMessage(message);
    EXPECT_NE(text.find("Date: Thu, 01 Jan 1970 00:00:00 +0000\r\n"), std::string::npos);
    EXPECT_NE(text.find("From: \"Station \\\"A\\\"\" <sts@example.com>\r\n"), std::string::npos);
    // 0xFC is the Windows code page's u-umlaut: "Jürgen" in UTF-8, base64.
    EXPECT_NE(text.find("To: =?UTF-8?B?SsO8cmdlbg==?= <j@example.com>,\r\n <n@example.org>\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("Subject: =?UTF-8?B?w6nDqcOp"), std::string::npos);
    EXPECT_NE(text.find("Content-Type: text/html; charset=UTF-8\r\n"), std::string::npos);
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        EXPECT_LE(end - start, 84u);
        EXPECT_EQ(text.substr(start, end - start).find('\n'), std::string::npos);
    }
}

TEST(MailLog, LinesHideThePasswordAndStayOneLine) {
    std::tm when{};
    when.tm_year = 126, when.tm_mon = 11, when.tm_mday = 6;
    when.tm_hour = 18, when.tm_min = 20, when.tm_sec = 1;
    EXPECT_EQ(attemptLogLine(when, "send", 3, 1, 4, "failed: 535 bad secret\r\nx", "secret"),
              "2026-12-06 18:20:01 send, 3 recipients, attempt 1 of 4: failed: 535 bad ****  x");
    EXPECT_EQ(refusalLogLine(when, "test message", "SMTPHOST: is empty"),
              "2026-12-06 18:20:01 test message: not sent: SMTPHOST: is empty");
}

TEST(MailLog, KeepsTheNewestWholeLinesWithinTheLimit) {
    const std::filesystem::path file =
        std::filesystem::path(testing::TempDir()) / ("drovelin-log-" + std::to_string(getpid()));
    std::filesystem::remove(file);
    for (int i = 0; i < 100; ++i)
        appendToLog(file, "line " + std::to_string(i) + std::string(40, '.'), 1000);
    EXPECT_LE(std::filesystem::file_size(file), 1000u);
    std::ifstream in(file);
    std::string first, line, last;
    std::getline(in, first);
    while (std::getline(in, line))
        last = line;
    EXPECT_TRUE(first.starts_with("line ") && first.ends_with(std::string(40, '.'))) << first;
    EXPECT_TRUE(last.starts_with("line 99")) << last;
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace drovelin
