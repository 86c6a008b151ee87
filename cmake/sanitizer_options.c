// Run-time options built into every program of a sanitizer build, so that a
// test, the show or a tool started by hand runs the same way as under the
// scripts. ASAN_OPTIONS and TSAN_OPTIONS in the environment still add to
// them and override them.
//
// intercept_tls_get_addr=0: this runtime (clang 14) tracks a dynamically
// loaded module's thread-local block through __tls_get_addr. When the block
// starts 16 bytes into a page it takes it for a glibc 2.19 block and reads
// the 16 bytes in front of it as the block's address and size. Since glibc
// 2.25 those bytes are the allocator's own chunk header, so the leak check
// at exit scans a made-up range and its tracer dies ("Tracer caught signal
// 11"). The blocks are ordinary heap blocks on this glibc, reached through
// the thread's DTV, so the leak check loses nothing without the tracking.
// docs/hardening.md has the whole story.

const char* __asan_default_options(void);
const char* __tsan_default_options(void);

const char* __asan_default_options(void)
{
    return "intercept_tls_get_addr=0";
}

const char* __tsan_default_options(void)
{
    return "intercept_tls_get_addr=0";
}
