#include "tools/render/peak_memory.h"

#include <fstream>
#include <sstream>
#include <string>

long peakResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, 6, "VmHWM:") != 0)
            continue;
        std::istringstream fields(line.substr(6));
        long kilobytes = -1;
        fields >> kilobytes;
        return fields ? kilobytes : -1;
    }
    return -1;
}
