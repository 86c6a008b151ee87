// A module with a thread-local block, loaded at run time: glibc gives each
// thread its own copy from malloc on first use.
thread_local char block[24];

extern "C" char* threadBlock()
{
    return block;
}
