// The settings of the allocator the program is linked with (jemalloc), read
// by it before the first allocation. Pictures are blocks of tens to hundreds
// of megabytes: they come in huge pages, so that filling them costs few page
// faults, and a freed block stays with the process for the next file rather
// than going back to the system at once (jemalloc otherwise gives blocks
// from 8 MB on an arena of their own that returns them immediately). Freed
// pages still go back after a few seconds without use. One arena serves
// every thread: a thread's first allocation never has to set up an arena of
// its own, which under a tight address-space limit (`ulimit -v`) jemalloc
// does not survive; the few threads of a run hardly compete for it.
//
// Compiled into the program itself, not the library the tests share: a
// library object that nothing refers to would be left out of the link.
extern "C" {
// The name and type are the allocator's; it reads the text through this
// symbol.
extern const char* malloc_conf;
const char* malloc_conf = "thp:always,metadata_thp:always,narenas:1,oversize_threshold:0,dirty_decay_ms:5000,muzzy_decay_ms:0";
}
