#include "platform/temporary_files.h"

#include <limits.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace jpg2dds {
namespace {

// A slot goes free -> filling (its path is being written) -> creating (the
// file is being made) -> listed, and back to free when the file was renamed
// or removed, or when it could not be created. The signal handler turns a
// listed slot into a removed one, for good: the process is ending.
enum SlotState : int { kFree, kFilling, kCreating, kListed, kRemoved };

// Far more than the files written at once; past it the fallback is to write
// unlisted rather than to fail a conversion over bookkeeping.
constexpr int kSlotCount = 64;

struct Slot {
  std::atomic<int> state{kFree};
  int folder = -1;      // these two written only while the slot is filling
  char path[PATH_MAX];  // inside the folder
};

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler may only use lock-free atomics");

Slot gSlots[kSlotCount];
std::atomic<bool> gEnding{false};

// Keeps the threads that list and forget apart; the signal handler never
// takes it and relies on the slot states alone.
std::mutex gListMutex;

// How long the handler waits for a creation that a thread has begun. The
// thread may be the one the signal interrupted, so the wait has a bound.
constexpr int kCreationWaitMilliseconds = 100;

}  // namespace

int RegisterTemporaryFile(int folder, const std::string& path) {
  if (path.size() >= PATH_MAX) return kTemporaryFileUnlisted;  // open() refuses it anyway
  std::lock_guard<std::mutex> lock(gListMutex);
  for (Slot& slot : gSlots) {
    int expected = kFree;
    if (!slot.state.compare_exchange_strong(expected, kFilling)) continue;
    slot.folder = folder;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.state.store(kCreating);
    // The handler marks the end first and reads the slots afterwards; this
    // thread marks its slot first and reads the end afterwards. So either it
    // sees the end and creates nothing, or the handler sees the slot.
    if (gEnding.load()) {
      slot.state.store(kFree);
      return kTemporaryFileRefused;
    }
    return static_cast<int>(&slot - gSlots);
  }
  return gEnding.load() ? kTemporaryFileRefused : kTemporaryFileUnlisted;
}

void SettleTemporaryFile(int slot, bool created) {
  if (slot < 0 || slot >= kSlotCount) return;
  int expected = kCreating;
  // Fails only when the handler has taken the slot already.
  gSlots[slot].state.compare_exchange_strong(expected, created ? kListed : kFree);
}

void ForgetTemporaryFile(int folder, const std::string& path) {
  std::lock_guard<std::mutex> lock(gListMutex);
  for (Slot& slot : gSlots) {
    if (slot.state.load() != kListed || folder != slot.folder || path != slot.path) continue;
    int expected = kListed;
    if (slot.state.compare_exchange_strong(expected, kFree)) return;
  }
}

void RemoveTemporaryFilesNow() {
  gEnding.store(true);
  for (Slot& slot : gSlots) {
    for (int waited = 0; slot.state.load() == kCreating && waited < kCreationWaitMilliseconds; ++waited) {
      timespec pause{0, 1000000};
      nanosleep(&pause, nullptr);
    }
    // Still creating after the wait: most likely this very thread was
    // interrupted while it made the file, which may exist already.
    int state = slot.state.load();
    if ((state == kListed || state == kCreating) && slot.state.compare_exchange_strong(state, kRemoved)) {
      unlinkat(slot.folder, slot.path, 0);
    }
  }
}

}  // namespace jpg2dds
