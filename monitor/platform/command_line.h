// The command line of the Qt programs (treld, kirnal): they take no
// arguments but --help and --version, answered before any window opens, so
// they work without a display too.
#pragma once

#include <QString>
#include <optional>

namespace treld {

// Prints the help or the version on stdout, or what is wrong with the
// command line on stderr. Returns the exit code to end with then, nothing
// when the program goes on. With `testNotify`, --test-notify is offered
// too and said there.
std::optional<int> answerCommandLine(int argc, char** argv, const QString& description,
                                     bool* testNotify = nullptr);

}  // namespace treld
