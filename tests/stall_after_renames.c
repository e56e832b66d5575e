/* Preloaded into a jpg2dds that a test means to kill in the middle of a
 * run: the first STALL_AFTER_RENAMES renames (each a finished output file)
 * go through, the next one waits for ever. The test then kills a process
 * that is certain to be between two files, however slow or fast the
 * machine is. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdatomic.h>
#include <stdlib.h>
#include <unistd.h>

int renameat(int from_folder, const char* from, int to_folder, const char* to) {
  static atomic_int done;
  const char* limit = getenv("STALL_AFTER_RENAMES");
  if (limit && atomic_fetch_add(&done, 1) >= atoi(limit)) {
    for (;;) pause();
  }
  int (*next)(int, const char*, int, const char*) =
      (int (*)(int, const char*, int, const char*))dlsym(RTLD_NEXT, "renameat");
  return next(from_folder, from, to_folder, to);
}
