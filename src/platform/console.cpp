#include "platform/console.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace jpg2dds {
namespace {

// The terminal of a key wait in progress and the mode to put back, for a
// signal that ends the program during the wait: a terminal left without echo
// is unusable for the user's shell. The mode is written before the
// descriptor is published.
std::atomic<int> gWaitFd{-1};
termios gSavedMode{};

// Whether the bytes of one key press carry a character. Escape sequences
// (arrows, function keys, modifier reports), which begin with CSI "ESC [" or
// SS3 "ESC O", do not; Escape followed by a printable character is that key
// with Alt held, and a lone Escape is the Escape key: both do.
bool KeyBytesCarryCharacter(const unsigned char* bytes, size_t count) {
  if (count == 0) return false;
  if (bytes[0] != 0x1B || count == 1) return true;
  const unsigned char next = bytes[1];
  if (next == '[' || next == 'O') return false;
  const bool ascii = next >= 0x20 && next < 0x7F;
  const bool utf8Lead = next >= 0xC2 && next <= 0xF4;  // Alt with a letter beyond ASCII
  return ascii || utf8Lead;
}

// Reads what one key press sent. Returns whether it ends the wait.
bool ReadKeyPress(int fd) {
  unsigned char buffer[64];
  ssize_t n = read(fd, buffer, sizeof buffer);
  if (n < 0) return errno != EINTR && errno != EAGAIN;
  if (n == 0) return true;  // the terminal hung up: no key will ever come
  if (n == 1 && buffer[0] == 0x1B) {
    // A terminal sends a whole sequence at once; give the rest a moment to
    // arrive before taking the byte as the Escape key itself.
    pollfd pfd{fd, POLLIN, 0};
    if (poll(&pfd, 1, 50) > 0) {
      ssize_t more = read(fd, buffer + 1, sizeof buffer - 1);
      if (more > 0) n += more;
    }
  }
  return KeyBytesCarryCharacter(buffer, static_cast<size_t>(n));
}

// Writes the bytes to standard output in as few writes as it takes. When
// standard output cannot take them (its reader has gone, the disk is full)
// they are lost and the caller goes on: console text is never a reason to
// stop a conversion.
void WriteToStandardOutput(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    // A non-blocking descriptor that is full: wait until it takes more,
    // as a blocking one would, instead of trying again at once.
    pollfd pfd{STDOUT_FILENO, POLLOUT, 0};
    if (n < 0 && errno == EAGAIN && poll(&pfd, 1, -1) > 0) continue;
    return;
  }
}

}  // namespace

void RestoreTerminalOfKeyWait() {
  int fd = gWaitFd.load();
  if (fd >= 0) tcsetattr(fd, TCSANOW, &gSavedMode);
}

void PrintLine(const std::string& text) { WriteToStandardOutput(text + '\n'); }

bool StandardOutputIsTerminal() { return isatty(STDOUT_FILENO) == 1; }

int TerminalColumns() {
  winsize size{};
  return ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

void ShowStatusLine(const std::string& text) {
  // Back to the line's start, the text, then the rest of the line cleared.
  WriteToStandardOutput("\r" + text + "\x1B[K");
}

void SetConsoleTitle(const std::string& title) {
  if (!isatty(STDOUT_FILENO)) return;
  std::string sequence = "\x1B]0;";
  for (char c : title) {
    // Control characters would end or corrupt the escape sequence.
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) sequence += c;
  }
  sequence += '\a';
  WriteToStandardOutput(sequence);
}

void WaitForKey() {
  int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;  // no controlling terminal: nobody to press a key
  termios saved{};
  if (tcgetattr(fd, &saved) != 0) {
    close(fd);
    return;
  }
  termios raw = saved;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;

  gSavedMode = saved;
  gWaitFd.store(fd);
  if (tcsetattr(fd, TCSANOW, &raw) == 0) {
    while (!ReadKeyPress(fd)) {
    }
    tcsetattr(fd, TCSANOW, &saved);
  }
  gWaitFd.store(-1);
  close(fd);
}

}  // namespace jpg2dds
