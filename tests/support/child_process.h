// tests/support/child_process.h: runs a program as a real child process with
// its standard streams on pipes (or its input on a terminal), for tests of
// exit statuses and of what a process prints.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct ChildResult {
  int status = -1;  // exit status 0..255, or 128 + signal number when killed
  std::string out;
  std::string err;
};

struct ChildOptions {
  std::string input;              // written to standard input, which is then closed
  bool input_is_terminal = false;  // standard input is a pseudo-terminal instead of a pipe
  std::string working_directory;  // empty: the test's own
  std::vector<std::string> environment;  // extra NAME=value entries
  int timeout_seconds = 20;
  // Called with the standard output read so far; returns text to send to
  // standard input (empty for nothing yet). Once it returns "\x04" the input is closed.
  std::function<std::string(const std::string& out)> converse;
};

ChildResult RunChild(const std::vector<std::string>& argv, const ChildOptions& options = {});
