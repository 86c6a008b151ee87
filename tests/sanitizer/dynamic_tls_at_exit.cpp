// Exits with a thread whose copy of a loaded module's thread-local block
// starts 16 bytes into a page: the one place where the sanitizer runtime's
// __tls_get_addr tracking misreads the block. The leak check at exit has to
// get through it and still judge the heap rightly: it must report the one
// real leak (33 bytes) and not the block held only by that thread-local copy
// (77 bytes).
//
//   dynamic_tls_at_exit MODULE

#include <dlfcn.h>
#include <pthread.h>
#include <sanitizer/allocator_interface.h>
#include <semaphore.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

char* (*threadBlock)();
sem_t looked;
bool found = false;

// Touches this thread's copy of the block. Returns at once unless the copy is
// where the runtime misreads it; then it leaves a heap block reachable only
// through the copy and stays alive for the leak check.
void* lookAtTheBlock(void*)
{
    char* copy = threadBlock();
    if (!__sanitizer_get_ownership(copy)) {
        std::fprintf(stderr, "the thread-local block is not on the heap (run with "
                             "GLIBC_TUNABLES=glibc.rtld.optional_static_tls=0)\n");
        std::_Exit(3);
    }
    if (reinterpret_cast<uintptr_t>(copy) % 4096 != 16) {
        sem_post(&looked);
        return nullptr;
    }
    void* held = std::malloc(77);
    std::memcpy(copy, &held, sizeof held);
    found = true;
    sem_post(&looked);
    for (;;)
        pause();
}

void* leakOneBlock(void*)
{
    void* volatile lost = std::malloc(33);
    (void)lost;
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    void* module = argc == 2 ? dlopen(argv[1], RTLD_NOW) : nullptr;
    threadBlock = module ? reinterpret_cast<char* (*)()>(dlsym(module, "threadBlock")) : nullptr;
    if (!threadBlock) {
        std::fprintf(stderr, "usage: dynamic_tls_at_exit MODULE (%s)\n", dlerror());
        return 2;
    }
    sem_init(&looked, 0, 0);
    // Every thread's copy comes from a fresh chunk, so one in a few hundred
    // lands on the page offset.
    for (int tries = 0; tries < 100000 && !found; ++tries) {
        pthread_t thread;
        pthread_create(&thread, nullptr, lookAtTheBlock, nullptr);
        sem_wait(&looked);
        if (!found)
            pthread_join(thread, nullptr);
    }
    if (!found) {
        std::fprintf(stderr, "no thread-local block started 16 bytes into a page\n");
        return 3;
    }
    // A real leak, which the check must still report: its only pointer was on
    // the stack of a thread that has ended.
    pthread_t leaker;
    pthread_create(&leaker, nullptr, leakOneBlock, nullptr);
    pthread_join(leaker, nullptr);
    return 0;
}
