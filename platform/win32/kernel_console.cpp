// Console control handlers over the host's signals. A signal handler may do
// almost nothing safely, so it only writes the signal's number to a pipe; a
// thread of the layer's own reads it and calls the handlers, which may then
// take locks and post messages as any thread does.

#include "platform/win32/kernel.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int kRequestSignals[] = {SIGINT, SIGHUP, SIGTERM};
constexpr int kEndGraceMilliseconds = 5000;

std::mutex gHandlersMutex;
std::vector<PHANDLER_ROUTINE> gHandlers;
// The pipe from the signal handler to the watching thread.
int gRequests[2] = {-1, -1};

DWORD EventOf(int signal) {
  switch (signal) {
    case SIGINT:
      return CTRL_C_EVENT;
    case SIGHUP:
      return CTRL_CLOSE_EVENT;
    default:
      return CTRL_SHUTDOWN_EVENT;
  }
}

void OnRequestSignal(int signal) {
  const int savedErrno = errno;
  const auto number = static_cast<unsigned char>(signal);
  if (write(gRequests[1], &number, 1) < 0) {
    // A full pipe already holds a request: this one changes nothing.
  }
  errno = savedErrno;
}

bool AnyHandlerTakes(DWORD event) {
  std::vector<PHANDLER_ROUTINE> handlers;
  {
    std::lock_guard lock(gHandlersMutex);
    handlers = gHandlers;
  }
  return std::any_of(handlers.rbegin(), handlers.rend(),
                     [event](PHANDLER_ROUTINE handler) { return handler(event) != FALSE; });
}

[[noreturn]] void EndAsSignalled(int signal) {
  ::signal(signal, SIG_DFL);
  raise(signal);
  _exit(128 + signal);
}

// The next request's signal; 0 when the pipe is gone.
int NextRequest() {
  for (;;) {
    unsigned char number = 0;
    const ssize_t got = read(gRequests[0], &number, 1);
    if (got == 1) return number;
    if (got == 0 || errno != EINTR) return 0;
  }
}

void WatchRequests() {
  const int signal = NextRequest();
  if (signal == 0) return;
  if (!AnyHandlerTakes(EventOf(signal))) EndAsSignalled(signal);
  pollfd another{gRequests[0], POLLIN, 0};
  while (poll(&another, 1, kEndGraceMilliseconds) < 0 && errno == EINTR) {
  }
  EndAsSignalled(signal);
}

bool StartWatching() {
  if (pipe2(gRequests, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  // Only the writing end may not block: the watcher waits for a request.
  fcntl(gRequests[0], F_SETFL, 0);
  std::thread(WatchRequests).detach();
  struct sigaction action {};
  action.sa_handler = OnRequestSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : kRequestSignals) sigaction(signal, &action, nullptr);
  return true;
}

}  // namespace

BOOL SetConsoleCtrlHandler(PHANDLER_ROUTINE routine, BOOL add) {
  static const bool watching = StartWatching();
  std::lock_guard lock(gHandlersMutex);
  const auto found = std::find(gHandlers.begin(), gHandlers.end(), routine);
  if (routine == nullptr || !watching || (!add && found == gHandlers.end())) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (add) {
    gHandlers.push_back(routine);
  } else {
    gHandlers.erase(found);
  }
  return TRUE;
}
