#include "files/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <new>
#include <thread>

#include "frame/errors.h"
#include "frame/file_io.h"
#include "frame/unique_fd.h"

extern char** environ;

namespace qor {

namespace {

// Output beyond this is read and dropped, so that a child is never blocked
// on a full pipe.
constexpr size_t kMaxOutput = 1 << 20;

using Clock = std::chrono::steady_clock;

// Milliseconds left until `deadline`, at least 0.
int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Reaps the child if it ends before `deadline`: true, with the wait status
// (-1 when the child was reaped elsewhere: SIGCHLD ignored by the server);
// false when it has not ended in time.
bool WaitUntil(pid_t pid, Clock::time_point deadline, int& status) {
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) return true;
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) {
      status = -1;
      return true;
    }
    if (MillisecondsLeft(deadline) == 0) return false;
    std::this_thread::sleep_for(pause);
    if (pause < std::chrono::milliseconds(50)) pause *= 2;
  }
}

struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  bool has_actions = false;
  bool has_attr = false;
  ~SpawnSetup() {
    if (has_actions) posix_spawn_file_actions_destroy(&actions);
    if (has_attr) posix_spawnattr_destroy(&attr);
  }
};

[[noreturn]] void StartFailed(const std::string& program, int error) {
  throw IoError("Cannot start " + program + ": " + std::strerror(error));
}

}  // namespace

int RunProgram(const std::vector<std::string>& argv, std::string* output, int limit_ms) {
  if (argv.empty()) throw IoError("Cannot start a program without a name");
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  int pipe_fds[2] = {-1, -1};
  UniqueFd read_end, write_end;
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) StartFailed(argv[0], errno);
  read_end.reset(pipe_fds[0]);
  write_end.reset(pipe_fds[1]);
  // A daemon may run with its standard descriptors closed; the pipe must not
  // sit on 0 to 2, where the child's own redirections would overwrite it.
  for (UniqueFd* end : {&read_end, &write_end}) {
    if (end->get() > 2) continue;
    int moved = fcntl(end->get(), F_DUPFD_CLOEXEC, 3);
    if (moved < 0) StartFailed(argv[0], errno);
    end->reset(moved);
  }

  SpawnSetup setup;
  int rc = posix_spawn_file_actions_init(&setup.actions);
  if (rc != 0) StartFailed(argv[0], rc);
  setup.has_actions = true;
  rc = posix_spawnattr_init(&setup.attr);
  if (rc != 0) StartFailed(argv[0], rc);
  setup.has_attr = true;

  // The child gets /dev/null as input and error output, and the pipe (or
  // /dev/null) as output; no other descriptor.
  rc = posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
  if (rc == 0) rc = posix_spawn_file_actions_addopen(&setup.actions, 2, "/dev/null", O_WRONLY, 0);
  if (rc == 0) {
    rc = output != nullptr
             ? posix_spawn_file_actions_adddup2(&setup.actions, write_end.get(), 1)
             : posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0);
  }
#if defined(__GLIBC__) && __GLIBC_PREREQ(2, 34)
  // Descriptors the server opened without O_CLOEXEC stay out of the child too.
  if (rc == 0) rc = posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3);
#endif
  // Signals: default dispositions and nothing blocked, whatever the server's
  // threads have set.
  sigset_t all, none;
  sigfillset(&all);
  sigemptyset(&none);
  if (rc == 0) rc = posix_spawnattr_setsigdefault(&setup.attr, &all);
  if (rc == 0) rc = posix_spawnattr_setsigmask(&setup.attr, &none);
  // A process group of its own, so that a program that has to be stopped
  // goes together with whatever it started.
  if (rc == 0) rc = posix_spawnattr_setpgroup(&setup.attr, 0);
  if (rc == 0) {
    rc = posix_spawnattr_setflags(&setup.attr,
                                  POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
  }
  if (rc != 0) StartFailed(argv[0], rc);

  pid_t pid = -1;
  rc = posix_spawnp(&pid, args[0], &setup.actions, &setup.attr, args.data(), environ);
  if (rc != 0) StartFailed(argv[0], rc);
  write_end.Close();

  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limit_ms);
  std::string text;
  bool out_of_memory = false;
  bool in_time = true;
  char buf[4096];
  for (;;) {
    pollfd ready{read_end.get(), POLLIN, 0};
    const int left = MillisecondsLeft(deadline);
    const int r = left > 0 ? poll(&ready, 1, left) : 0;
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) {
      in_time = r < 0;  // a failing poll ends the reading like an end of file
      break;
    }
    const ssize_t n = ReadChunk(read_end.get(), buf, sizeof buf);
    if (n <= 0) break;
    if (output != nullptr && !out_of_memory && text.size() < kMaxOutput) {
      try {
        text.append(buf, static_cast<size_t>(n));
      } catch (...) {
        // Keep reading so that the child can finish; raised once it has
        // been waited for.
        out_of_memory = true;
      }
    }
  }
  read_end.Close();

  int status = -1;
  if (in_time) in_time = WaitUntil(pid, deadline, status);
  if (!in_time) {
    kill(-pid, SIGKILL);
    kill(pid, SIGKILL);
    // A killed process ends at once, unless the kernel holds it in an
    // uninterruptible wait; the thread does not wait for that for ever.
    const bool reaped = WaitUntil(pid, Clock::now() + std::chrono::seconds(2), status);
    throw IoError(argv[0] + " did not end within " + std::to_string(limit_ms) + " ms and was stopped" +
                  (reaped ? "" : " (not yet reaped)"));
  }
  if (out_of_memory) throw std::bad_alloc();
  if (output != nullptr) *output = std::move(text);
  return status;
}

}  // namespace qor
