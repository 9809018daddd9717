// The real drovelin program against loopback servers started by mail_sink.py.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "foundation/station_config.h"
#include "mail_sink_process.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

const char* const kAlarm =
    "1&&send++This message is automatically produced by STS management software<br>"
    "Alarm time: 18:20:01<br>-Overload";

class Drovelin : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = fs::temp_directory_path() / "drovelin-XXXXXX";
        root = mkdtemp(pattern.data());
        inbox = root / "inbox";
        fs::create_directory(inbox);
        fs::copy_file(DROVELIN_PROGRAM, root / "drovelin");
        config.SenderName = "STS Monitor";
        config.SenderAddress = "sts@example.com";
        config.RecipientName1 = "Ada Operator";
        config.RecipientAddress1 = "ada@example.com";
        config.RecipientName2 = "J\xC3\xBCrgen \xC3\x96lmann";
        config.RecipientAddress2 = "juergen@example.net";
        config.RecipientAddress3 = "night@example.org";
    }
    void TearDown() override { fs::remove_all(root); }

    // Runs drovelin with sts.cfg from `config` plus `extraLines`; its exit code.
    int send(const std::string& argument, int port, const std::string& extraLines = "") {
        config.SmtpHost = "127.0.0.1:" + std::to_string(port);
        std::ofstream(root / "sts.cfg", std::ios::binary)
            << treld::writeConfigText(config, 1) << "MAILRETRY:1\r\nFAILDELAY:0\r\n"
            << extraLines;
        return run(argument);
    }
    // Runs drovelin after the shell commands `limits`; its exit code.
    int run(const std::string& argument, const std::string& limits = "") {
        const int status =
            std::system((limits + (root / "drovelin").string() + " '" + argument + "'").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string log() { return readFile(root / "drovelin.log"); }
    std::string events() { return readFile(inbox / "events.txt"); }

    treld::StationConfig config;
    fs::path root, inbox;
};

TEST_F(Drovelin, AlarmAndTestMessageArriveAfterRefusalsButNotWithALineBreakInTheSubject) {
    MailSink sink(inbox, "--refuse 2");
    ASSERT_EQ(send(kAlarm, sink.smtpPort, "MAILRETRY:3\r\n"), 0) << log();
    const std::string mail = readFile(inbox / "1.txt");
    for (const char* expected :
         {"envelope-from: sts@example.com\nenvelope-to: ada@example.com\n"
          "envelope-to: juergen@example.net\nenvelope-to: night@example.org\n",
          "From: STS Monitor <sts@example.com>\n",
          "To: Ada Operator <ada@example.com>, J\xC3\xBCrgen \xC3\x96lmann <juergen@example.net>, "
          "night@example.org\n",
          "Subject: STS alarm\n", "Message-ID: <", "Content-Type: text/html; charset=\"UTF-8\"\n",
          "date-parsed: True\ndefects: 0\n", "<br>Alarm time: 18:20:01<br>-Overload"})
        EXPECT_NE(mail.find(expected), std::string::npos) << expected << "\nin\n" << mail;
    EXPECT_NE(log().find("send, 3 recipients, attempt 3 of 3: sent\n"), std::string::npos);

    config.MailSubject = "Pr\374fung";  // Windows code page, as an old sts.cfg holds it
    ASSERT_EQ(send("1&&test message++STS test message", sink.smtpPort), 0) << log();
    EXPECT_NE(readFile(inbox / "2.txt").find("Subject: Pr\303\274fung\n"), std::string::npos);

    config.MailSubject = "Alarm\rBcc: someone@example.com";
    EXPECT_EQ(send(kAlarm, sink.smtpPort), 3);
    EXPECT_EQ(events(), "smtp refused\nsmtp refused\nsmtp received\nsmtp received\n");
    EXPECT_NE(log().find("send: not sent: SUBJECT: holds a line break"), std::string::npos);
}

// 127.0.0.2 plays another host that strips STARTTLS: the account is not sent, the log says why.
TEST_F(Drovelin, TheAccountGoesToAnotherHostOnlyOverTls) {
    MailSink sink(inbox, "--host 127.0.0.2");
    EXPECT_EQ(send(kAlarm, 0,
                   "SMTPHOST:127.0.0.2:" + std::to_string(sink.smtpPort) +
                       "\r\nUSEAUTHENTICITATION:1\r\nUSERNAME:ops\r\nPASSWORD:pw\r\n"),
              1);
    EXPECT_NE(log().find("failed: refused: the server offers no STARTTLS"), std::string::npos);
    EXPECT_EQ(events(), "");
}

// A server that takes 3 s for its greeting and for EHLO: the steps of the connection have each
// their own time-out, not one for both.
TEST_F(Drovelin, ASlowServerGetsTheMail) {
    MailSink sink(inbox, "--slow 3");
    config.RecipientAddress2 = config.RecipientAddress3 = "";
    EXPECT_EQ(send(kAlarm, sink.smtpPort), 0) << log();
    EXPECT_EQ(events(), "smtp received\n");
}

// sts.cfg or drovelin.log as a FIFO or a device: no hang, bounded memory. A log that cannot be
// shortened (a full disk) leaves no temporary file, and those of ended runs go.
TEST_F(Drovelin, OddFilesNeitherHangNorEatMemoryNorLeaveTemporaries) {
    MailSink sink(inbox, "");
    const std::string bounded = "ulimit -v 500000; timeout 10 ";
    const fs::path file = root / "sts.cfg", logFile = root / "drovelin.log";
    ASSERT_EQ(send(kAlarm, sink.smtpPort), 0) << log();
    fs::rename(file, root / "kept.cfg");
    fs::create_symlink("/dev/zero", file);
    EXPECT_EQ(run(kAlarm, bounded), 3);
    fs::remove(file);
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
    EXPECT_EQ(run(kAlarm, bounded), 3);
    EXPECT_NE(log().find("send: not sent: sts.cfg cannot be read: missing, not a regular file"),
              std::string::npos);
    fs::remove(file);
    fs::rename(root / "kept.cfg", file);
    fs::remove(logFile);
    ASSERT_EQ(mkfifo(logFile.c_str(), 0600), 0);
    EXPECT_EQ(run(kAlarm, bounded), 0);
    fs::remove(logFile);
    std::ofstream(logFile) << std::string(300 * 1024, '\n');
    std::ofstream(root / "drovelin.log.2147483647");  // left by a run that has ended
    EXPECT_EQ(run(kAlarm, "trap '' XFSZ; ulimit -f 64; "), 0);
    for (const fs::directory_entry& entry : fs::directory_iterator(root))
        EXPECT_FALSE(entry.path().filename().string().starts_with("drovelin.log.")) << entry;
}

}  // namespace
