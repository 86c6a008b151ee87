#include "app/main_loop.h"
#include "app/startup.h"

int main()
{
    if (auto exitCode = startUp(StartupOptions{}))
        return *exitCode;
    return runMainLoop();
}
