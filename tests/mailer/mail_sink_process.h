// mail_sink.py (a loopback SMTP server) running while the object lives.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <string>

class MailSink {
  public:
    MailSink(const std::filesystem::path& inbox, const std::string& options)
        : output_(popen(
              ("exec /usr/bin/python3 " MAIL_SINK_SCRIPT " --dir " + inbox.string() + " " + options)
                  .c_str(),
              "r")) {
        char word[16];
        for (int number = 0; pid_ == 0 && std::fscanf(output_, "%15s %d", word, &number) == 2;)
            (word[0] == 's' ? smtpPort : pid_) = number;
        EXPECT_GT(pid_, 0) << "mail_sink.py did not start";
    }
    ~MailSink() {
        kill(pid_, SIGTERM);
        pclose(output_);
    }
    int smtpPort = 0;

  private:
    FILE* output_;
    int pid_ = 0;
};
