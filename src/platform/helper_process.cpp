#include "platform/helper_process.h"

#include <fcntl.h>
#include <malloc.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern "C" int mallctl(const char* name, void* oldValue, size_t* oldLength, void* newValue, size_t newLength)
    __attribute__((weak));

namespace jpg2dds {
namespace {

// The signals that end the program: a helper ends on them by default
// rather than run the parent's handler, which cleans up the parent's files.
const int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// The descriptor a helper's body gets its socket on; all above it are closed.
constexpr int kHelperSocket = 3;

void BecomeHelper(int socket, pid_t parent) {
  // Killed with the thread that started it; a parent gone already is missed
  // by the request, hence the check after it.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(0);
  for (int signal : kEndingSignals) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    sigaction(signal, &byDefault, nullptr);
  }
  sigset_t none;
  sigemptyset(&none);
  pthread_sigmask(SIG_SETMASK, &none, nullptr);
  // Files of the parent (the instance lock, other helpers' sockets, files
  // being written) must not be held open by a helper.
  if (socket != kHelperSocket && dup2(socket, kHelperSocket) < 0) _exit(1);
  close_range(kHelperSocket + 1, ~0U, 0);
}

void Reap(HelperProcess& helper) {
  if (helper.pid > 0) {
    while (waitpid(helper.pid, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  helper.pid = -1;
}

void CloseSocket(HelperProcess& helper) {
  if (helper.socket >= 0) close(helper.socket);
  helper.socket = -1;
}

}  // namespace

bool StartHelperProcess(HelperProcess& helper, const std::function<void(int socket)>& body) {
  int ends[2];
  // Messages keep their bounds and carry files; a closed end is seen at once.
  if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return false;
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) {
    close(ends[0]);
    close(ends[1]);
    return false;
  }
  if (pid == 0) {
    close(ends[0]);
    BecomeHelper(ends[1], parent);
    body(kHelperSocket);
    // Nothing of the parent's (its exit handlers, its streams) runs here.
    _exit(0);
  }
  close(ends[1]);
  helper.pid = pid;
  helper.socket = ends[0];
  return true;
}

void StopHelperProcess(HelperProcess& helper) {
  CloseSocket(helper);
  Reap(helper);
}

void EndHelperProcess(HelperProcess& helper) {
  if (helper.pid > 0) kill(helper.pid, SIGKILL);
  CloseSocket(helper);
  Reap(helper);
}

bool SendMessage(int socket, const void* data, size_t size, const int* files, int fileCount) {
  constexpr int kMaxFiles = 4;
  if (fileCount < 0 || fileCount > kMaxFiles) return false;
  iovec part{const_cast<void*>(data), size};
  msghdr message{};
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * kMaxFiles)];
  if (fileCount > 0) {
    message.msg_control = control;
    message.msg_controllen = CMSG_SPACE(sizeof(int) * fileCount);
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = SOL_SOCKET;
    header->cmsg_type = SCM_RIGHTS;
    header->cmsg_len = CMSG_LEN(sizeof(int) * fileCount);
    std::memcpy(CMSG_DATA(header), files, sizeof(int) * fileCount);
  }
  ssize_t sent;
  while ((sent = sendmsg(socket, &message, MSG_NOSIGNAL)) < 0 && errno == EINTR) {
  }
  return sent == static_cast<ssize_t>(size);
}

bool ReceiveMessage(int socket, void* data, size_t size, int* files, int maxFiles, int* fileCount) {
  constexpr int kMaxFiles = 4;
  if (fileCount) *fileCount = 0;
  iovec part{data, size};
  msghdr message{};
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * kMaxFiles)];
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  ssize_t got;
  while ((got = recvmsg(socket, &message, MSG_CMSG_CLOEXEC)) < 0 && errno == EINTR) {
  }
  int count = 0;
  for (cmsghdr* header = CMSG_FIRSTHDR(&message); got >= 0 && header; header = CMSG_NXTHDR(&message, header)) {
    if (header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS) continue;
    const int n = static_cast<int>((header->cmsg_len - CMSG_LEN(0)) / sizeof(int));
    for (int i = 0; i < n; ++i) {
      int file;
      std::memcpy(&file, CMSG_DATA(header) + i * sizeof(int), sizeof file);
      if (count < maxFiles && files) {
        files[count++] = file;
      } else {
        close(file);
      }
    }
  }
  const bool whole = got == static_cast<ssize_t>(size) && (message.msg_flags & (MSG_TRUNC | MSG_CTRUNC)) == 0;
  if (!whole) {
    for (int i = 0; i < count; ++i) close(files[i]);
    count = 0;
  }
  if (fileCount) *fileCount = count;
  return whole;
}

int NewSharedMemoryFile() { return memfd_create("jpg2dds", MFD_CLOEXEC); }

bool GrowSharedMemoryFile(int file, size_t size) {
  return file >= 0 && ftruncate(file, static_cast<off_t>(size)) == 0;
}

bool MapSharedBlock(int file, size_t size, bool grow, SharedBlock& block) {
  block = SharedBlock{};
  if (file < 0) return false;
  block.file = file;
  if (grow && ftruncate(file, static_cast<off_t>(size)) != 0) {
    ReleaseSharedBlock(block);
    return false;
  }
  if (size == 0) return true;
  // Every page is used at once: mapped in one call rather than fault by fault.
  void* data = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_POPULATE, file, 0);
  if (data == MAP_FAILED) {
    ReleaseSharedBlock(block);
    return false;
  }
  block.data = static_cast<uint8_t*>(data);
  block.size = size;
  return true;
}

void ReleaseSharedBlock(SharedBlock& block) {
  if (block.data) munmap(block.data, block.size);
  if (block.file >= 0) close(block.file);
  block = SharedBlock{};
}

std::FILE* OpenStreamOnFile(int file) {
  const int own = fcntl(file, F_DUPFD_CLOEXEC, 0);
  if (own < 0) return nullptr;
  std::FILE* stream = fdopen(own, "w+b");
  if (!stream) close(own);
  return stream;
}

void KeepFreedMemory() {
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, -1);
}

void ReturnFreedMemory() {
  // jemalloc's own call, where the program is linked with it (the sanitizer
  // build is not): every arena's freed pages go back to the system.
  if (mallctl) mallctl("arena.4096.purge", nullptr, nullptr, nullptr, 0);
}

void CloseFile(int file) {
  if (file >= 0) close(file);
}

}  // namespace jpg2dds
