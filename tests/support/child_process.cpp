// tests/support/child_process.cpp: fork/exec with pipes, a poll loop and a timeout.
#include "tests/support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstring>

namespace {

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

int OpenTerminal(int* follower) {
  int leader = posix_openpt(O_RDWR | O_NOCTTY);
  if (leader < 0 || grantpt(leader) != 0 || unlockpt(leader) != 0) return -1;
  *follower = open(ptsname(leader), O_RDWR | O_NOCTTY);
  return *follower < 0 ? -1 : leader;
}

}  // namespace

ChildResult RunChild(const std::vector<std::string>& argv, const ChildOptions& options) {
  ChildResult result;
  int in[2], out[2], err[2];
  int terminal = -1, follower = -1;
  if (options.input_is_terminal) {
    terminal = OpenTerminal(&follower);
    if (terminal < 0) return result;
    in[0] = follower;
    in[1] = -1;
  } else if (pipe(in) != 0) {
    return result;
  }
  if (pipe(out) != 0 || pipe(err) != 0) return result;

  pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd = 3; fd < 256; ++fd) close(fd);
    if (!options.working_directory.empty() && chdir(options.working_directory.c_str()) != 0) _exit(126);
    for (const std::string& entry : options.environment) putenv(strdup(entry.c_str()));
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  signal(SIGPIPE, SIG_IGN);

  int input_fd = in[1];
  if (input_fd >= 0) {
    if (!options.input.empty()) {
      ssize_t ignored = write(input_fd, options.input.data(), options.input.size());
      (void)ignored;
    }
    if (!options.converse) {
      close(input_fd);
      input_fd = -1;
    }
  }

  double deadline = Now() + options.timeout_seconds;
  bool out_open = true, err_open = true;
  while ((out_open || err_open) && Now() < deadline) {
    pollfd fds[2] = {{out_open ? out[0] : -1, POLLIN, 0}, {err_open ? err[0] : -1, POLLIN, 0}};
    if (poll(fds, 2, 100) < 0) break;
    char buffer[4096];
    for (int i = 0; i < 2; ++i) {
      if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        (i == 0 ? out_open : err_open) = false;
        continue;
      }
      (i == 0 ? result.out : result.err).append(buffer, n);
    }
    if (input_fd >= 0 && options.converse) {
      std::string reply = options.converse(result.out);
      if (reply == "\x04") {
        close(input_fd);
        input_fd = -1;
      } else if (!reply.empty()) {
        ssize_t ignored = write(input_fd, reply.data(), reply.size());
        (void)ignored;
      }
    }
  }
  if (input_fd >= 0) close(input_fd);
  close(out[0]);
  close(err[0]);

  int status = 0;
  if (out_open || err_open) kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  if (terminal >= 0) {
    close(terminal);
    close(follower);
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}
