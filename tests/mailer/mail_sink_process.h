// mail_sink.py (loopback SMTP and POP3 servers) running until the end of a test.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <string>

class MailSink {
  public:
    MailSink(const std::filesystem::path& inbox, const std::string& options) {
        const std::string command =
            "exec /usr/bin/python3 " MAIL_SINK_SCRIPT " --dir " + inbox.string() + " " + options;
        output_ = popen(command.c_str(), "r");
        char word[16];
        int number = 0;
        while (pid_ == 0 && std::fscanf(output_, "%15s %d", word, &number) == 2)
            (word == std::string("smtp")   ? smtpPort
             : word == std::string("pop3") ? pop3Port
                                           : pid_) = number;
        EXPECT_GT(pid_, 0) << "mail_sink.py did not start";
    }
    ~MailSink() {
        if (pid_ > 0)
            kill(pid_, SIGTERM);
        pclose(output_);
    }
    MailSink(const MailSink&) = delete;
    MailSink& operator=(const MailSink&) = delete;

    int smtpPort = 0, pop3Port = 0;

  private:
    int pid_ = 0;
    FILE* output_ = nullptr;
};
