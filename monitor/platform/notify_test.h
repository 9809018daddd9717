// treld --test-notify: a test event to every target of notify.cfg beside the
// program, without windows and without polling.
#pragma once

namespace treld {

// Prints a line per target with what it answered; returns the exit code: 0
// when every target delivered, 1 otherwise.
int runNotifyTest(int& argc, char** argv);

}  // namespace treld
