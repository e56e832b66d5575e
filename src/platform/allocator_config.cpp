// The settings of the allocator the program is linked with (jemalloc), read
// by it before the first allocation. Pictures are blocks of tens to hundreds
// of megabytes, allocated and freed several times per file (the decoded
// picture, DevIL's copy, its flipped and 16-bit buffers): a freed block
// stays with the process and is filled again by the next one, of this file
// or the next, rather than going back to the system and coming back as
// fresh pages that the kernel must clear first. jemalloc would otherwise
// hand blocks from 8 MB out of an arena of their own that returns them at
// once. The process's memory so stays at the peak of its largest file.
// Blocks are asked for as transparent huge pages: a picture's memory is
// touched whole at once, and one fault per 2 MB instead of 512 made a
// conversion about 30 % faster on a virtual machine, where each fault is
// costly (where the system has no huge page to give, it gives small ones).
// One arena serves every thread: a thread's first allocation never has to
// set up an arena of its own, which under a tight address-space limit
// (`ulimit -v`) jemalloc does not survive; the few threads of a run hardly
// compete for it.
//
// Compiled into the program itself, not the library the tests share: a
// library object that nothing refers to would be left out of the link.
extern "C" {
// The name and type are the allocator's; it reads the text through this
// symbol.
extern const char* malloc_conf;
const char* malloc_conf = "narenas:1,oversize_threshold:0,dirty_decay_ms:-1,thp:always";
}
