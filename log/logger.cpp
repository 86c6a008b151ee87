#include "log/logger.h"

#include <cstdio>
#include <mutex>

namespace hlv {

namespace {

// Owns the installed logger; deletes it once at process exit.
struct LoggerHolder {
    Logger* logger = new Logger;
    bool destroyed = false;
    ~LoggerHolder()
    {
        if (!destroyed) {
            delete logger;
            logger = nullptr;
            destroyed = true;
        }
    }
};

LoggerHolder& holder()
{
    static LoggerHolder instance;
    return instance;
}

// Built during static initialisation, so the base logger is in place before main.
[[maybe_unused]] LoggerHolder& g_holderAtStartup = holder();

} // namespace

void Logger::write(const char*, va_list) {}

void log(const char* format, ...)
{
    Logger* logger = holder().logger;
    if (!logger)
        return;
    va_list args;
    va_start(args, format);
    logger->write(format, args);
    va_end(args);
}

void setLogger(Logger* logger, bool deleteOld)
{
    LoggerHolder& h = holder();
    if (!deleteOld)
        h.logger = nullptr;
    if (h.logger != logger)
        delete h.logger;
    h.logger = logger;
}

Logger* currentLogger() { return holder().logger; }

void PrintLogger::write(const char* format, va_list args)
{
    // Geometry may be built on a loader thread while the main thread logs.
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    std::vfprintf(stdout, format, args);
    std::fflush(stdout);
}

} // namespace hlv
