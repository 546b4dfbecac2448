#include "platform/interrupt_cleanup.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>

namespace plexo {
namespace {
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
}  // namespace

// One listed name. Nodes are never freed, only reused, so the handler can walk the list at any
// moment; `active` tells it whether `path` holds a name to remove. A node being refilled is
// inactive, so the handler never reads a half-copied path.
struct ListedName {
  std::atomic<bool> active{false};
  bool taken = false;  // guarded by the registry mutex
  char path[PATH_MAX] = {};
  ListedName* next = nullptr;
};

namespace {

std::atomic<ListedName*> g_names{nullptr};
std::mutex g_names_mutex;  // taking and releasing nodes; never touched by the handler
std::atomic<int> g_deferring{0};
std::atomic<int> g_pending_signal{0};

static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free &&
                  std::atomic<ListedName*>::is_always_lock_free,
              "the signal handler relies on lock-free atomics");

// Only async-signal-safe calls from here on: unlink, signal, raise.
void RemoveListedNames() {
  for (ListedName* node = g_names.load(); node != nullptr; node = node->next) {
    if (node->active.load()) unlink(node->path);
  }
}

void OnInterrupt(int sig) {
  const int saved_errno = errno;
  if (g_deferring.load() > 0) {
    g_pending_signal.store(sig);
    // Looked at again: if the last deferral ended meanwhile it may have missed the signal.
    if (g_deferring.load() > 0) {
      errno = saved_errno;
      return;
    }
  }
  RemoveListedNames();
  // Blocked while this handler runs; delivered with the default action once it returns.
  std::signal(sig, SIG_DFL);
  std::raise(sig);
  errno = saved_errno;
}

}  // namespace

void InstallInterruptCleanup() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int sig : kSignals) {
      struct sigaction old = {};
      if (sigaction(sig, nullptr, &old) != 0) continue;
      if ((old.sa_flags & SA_SIGINFO) != 0 || old.sa_handler != SIG_DFL) continue;
      struct sigaction action = {};
      action.sa_handler = OnInterrupt;
      sigemptyset(&action.sa_mask);
      for (int other : kSignals) sigaddset(&action.sa_mask, other);
      action.sa_flags = SA_RESTART;
      sigaction(sig, &action, nullptr);
    }
  });
}

ListedName* ListTemporaryName(const std::string& path) {
  if (path.size() >= PATH_MAX) return nullptr;
  std::lock_guard<std::mutex> lock(g_names_mutex);
  ListedName* node = g_names.load();
  while (node != nullptr && node->taken) node = node->next;
  if (node == nullptr) {
    node = new ListedName;  // kept for the life of the process
    node->next = g_names.load();
    g_names.store(node);
  }
  node->taken = true;
  std::memcpy(node->path, path.c_str(), path.size() + 1);
  node->active.store(true);
  return node;
}

void ForgetTemporaryName(ListedName* entry) {
  if (entry == nullptr) return;
  std::lock_guard<std::mutex> lock(g_names_mutex);
  entry->active.store(false);
  entry->taken = false;
}

InterruptsDeferred::InterruptsDeferred() { g_deferring.fetch_add(1); }

InterruptsDeferred::~InterruptsDeferred() {
  if (g_deferring.fetch_sub(1) != 1) return;
  const int sig = g_pending_signal.exchange(0);
  if (sig != 0) std::raise(sig);
}

}  // namespace plexo
