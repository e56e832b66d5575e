// Helper processes of our own, each reached through one socket, and blocks
// of memory that two processes share. A helper is a copy of this process
// made with fork(): it runs one function and ends with it, holds no file of
// ours but its socket and the standard streams, ends by default on the
// signals that end the program, and dies when the thread that started it
// ends (or the whole program does), so it never outlives a run.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace jpg2dds {

struct HelperProcess {
  int pid = -1;     // -1 when none runs
  int socket = -1;  // the parent's end
};

// Starts a helper that runs body(socket) and then ends. False when the
// system refuses a process (`ulimit -u`, memory) or a socket.
bool StartHelperProcess(HelperProcess& helper, const std::function<void(int socket)>& body);

// Closes the parent's end, which ends a helper that waits for a message,
// and waits for the helper to end (no zombie is left).
void StopHelperProcess(HelperProcess& helper);

// Kills the helper outright and waits for it: for one that stopped
// answering or died already.
void EndHelperProcess(HelperProcess& helper);

// Sends one message with up to 4 open files (their descriptors). False when
// the other end has gone.
bool SendMessage(int socket, const void* data, size_t size, const int* files = nullptr, int fileCount = 0);

// Receives one message of exactly `size` bytes and the files sent with it
// (up to `maxFiles`, the rest closed; `fileCount` gets how many). False when
// the other end has gone or the message is not of that size.
bool ReceiveMessage(int socket, void* data, size_t size, int* files = nullptr, int maxFiles = 0,
                    int* fileCount = nullptr);

// A file in memory that can be sent to a helper and mapped by both sides.
// -1 when none can be made.
int NewSharedMemoryFile();

// Makes the shared memory file `size` bytes long without touching its
// memory. False when it cannot be (`ulimit -f`, say).
bool GrowSharedMemoryFile(int file, size_t size);

// The contents of a shared memory file, mapped for reading and writing.
struct SharedBlock {
  int file = -1;
  uint8_t* data = nullptr;
  size_t size = 0;
};

// Maps the first `size` bytes of the file, which the block then owns (it is
// closed with the block, or at once when the map fails). With `grow` the
// file is first made that long. False when that cannot be done; a size of 0
// maps nothing and succeeds.
bool MapSharedBlock(int file, size_t size, bool grow, SharedBlock& block);

// Unmaps and closes; the memory is given back once no process maps it.
void ReleaseSharedBlock(SharedBlock& block);

// A stream that writes into the shared memory file from its start (its own
// descriptor: closing the stream leaves `file` open). Null when it cannot
// be opened.
std::FILE* OpenStreamOnFile(int file);

// From now on memory this process frees stays with it for its next
// allocations instead of going back to the system: pictures of similar size
// one after another then reuse pages already touched.
void KeepFreedMemory();

// Memory this process freed and keeps for its next allocations goes back
// to the system now.
void ReturnFreedMemory();

// Closes a descriptor received or made here.
void CloseFile(int file);

}  // namespace jpg2dds
