// The temporary files that exist right now, kept where a signal handler can
// reach them: a signal that ends the process removes them first, so that no
// half-written file stays behind under a name that looks like a texture.
// Safe to use from several threads at once; the platform's create, move and
// remove functions keep the list, callers do not.
#pragma once
#include <string>

namespace jpg2dds {

// Answers of RegisterTemporaryFile besides a slot number.
constexpr int kTemporaryFileUnlisted = -1;  // every slot taken: create it all the same, unlisted
constexpr int kTemporaryFileRefused = -2;   // the process is ending: create nothing

// Lists `name` inside the open folder `folder` (a path: AT_FDCWD) before
// the file is created, so that there is no moment in which it exists
// unlisted; the folder stays open while the file is listed. Returns a slot
// number for SettleTemporaryFile, or one of the two answers above.
int RegisterTemporaryFile(int folder, const std::string& name);

// Reports whether the creation that followed RegisterTemporaryFile made the
// file; when it did not, the slot is free again.
void SettleTemporaryFile(int slot, bool created);

// Takes the file off the list once it was renamed or removed; nothing
// happens for one that is not listed.
void ForgetTemporaryFile(int folder, const std::string& name);

// Removes every listed file, and refuses to list new ones from then on.
// Async-signal-safe: for the handlers of the signals that end the process.
void RemoveTemporaryFilesNow();

}  // namespace jpg2dds
