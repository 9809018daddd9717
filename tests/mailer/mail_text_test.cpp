// The parts of drovelin that need no network; tests/mailer/loopback_test.cpp sends real mail.
#include <gtest/gtest.h>

#include "mail_log.h"
#include "mail_request.h"
#include "mail_settings.h"

namespace drovelin {
namespace {

TEST(MailArgument, RefusesMalformedArgumentsAndEscapesTheTestText) {
    for (const char* broken : {"", "send++x", "2&&send++x", "1&&send", "1&&Send++x", "1&&mail++x",
                               "1&&test++x", " 1&&send++x"})
        EXPECT_FALSE(parseMailArgument(broken)) << broken;
    EXPECT_EQ(parseMailArgument("1&&send++Alarm<br>-Overload++x")->text, "Alarm<br>-Overload++x");
    EXPECT_NE(htmlBody({MailKind::Test, "a<b>&"}).find("a&lt;b&gt;&amp;"), std::string::npos);
}

TEST(MailSettings, RefusesUnsafeOrMissingValues) {
    using Config = treld::StationConfig;
    const struct {
        void (*change)(Config&);
        const char* problem;
    } cases[] = {
        {[](Config& c) { c.RecipientName1 = "Ada\nBcc: x@evil.com"; },
         "RECEIPNAME1: holds a line break"},
        {[](Config& c) { c.SenderName = "a\x01"; }, "SENDERNAME: holds a control character"},
        {[](Config& c) { c.RecipientAddress3 = "a@b>, x@evil.com"; },
         "RECEIPADRES3: is not a plain"},
        {[](Config& c) { c.RecipientAddress1 = c.RecipientAddress3 = ""; }, "no recipient"},
        {[](Config& c) { c.UseAuthentication = 1, c.SmtpPassword = "a\rb"; },
         "PASSWORD: holds a line break"},
    };
    Config usable;
    usable.SenderAddress = "sts@example.com";
    usable.RecipientAddress1 = "ada@example.com";
    usable.RecipientAddress3 = "night@example.org";
    usable.SmtpHost = "mail.example.com:2525";
    for (const auto& refused : cases) {
        Config config = usable;
        refused.change(config);
        EXPECT_TRUE(mailSettings(config, MailKind::Alarm).problem.starts_with(refused.problem))
            << refused.problem;
    }
    for (int i = 0; i < 500; ++i)
        usable.MailSubject += "\xC3\xBC";  // characters count, as in Settings, not bytes
    EXPECT_EQ(mailSettings(usable, MailKind::Alarm).problem, "");
}

TEST(MailLog, HidesThePassword) {
    EXPECT_EQ(attemptLogLine(std::tm{.tm_mday = 6, .tm_year = 126}, "send", 3, 1, 4,
                             "failed: 535 bad secret\r\nx", "secret"),
              "2026-01-06 00:00:00 send, 3 recipients, attempt 1 of 4: failed: 535 bad ****  x");
}

}  // namespace
}  // namespace drovelin
