#pragma once
// Built with -fsanitize=thread, the test programs that load scenes on loader
// threads ignore the synchronisation inside the Mesa software rasteriser:
// llvmpipe's own worker threads destroy their fences' mutexes and condition
// variables in a way ThreadSanitizer cannot follow through the uninstrumented
// driver, and would bury what the checks are for, the hand-over between the
// loader thread and the main thread. Include from exactly one file of a test
// program.

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define SKYDRIFT_THREAD_CHECKS 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define SKYDRIFT_THREAD_CHECKS 1
#endif

#ifdef SKYDRIFT_THREAD_CHECKS
extern "C" const char* __tsan_default_suppressions()
{
    return "called_from_lib:swrast_dri.so\n"
           "called_from_lib:libgallium*\n";
}
#endif
