#include "app/main_loop.h"
#include "app/run_guarded.h"
#include "app/startup.h"

int main()
{
    return runGuarded([] {
        if (auto exitCode = startUp(StartupOptions{}))
            return *exitCode;
        return runMainLoop();
    });
}
