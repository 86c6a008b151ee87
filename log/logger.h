#pragma once
#include <cstdarg>

namespace hlv {

// Receives the diagnostic text of the geometry and import code. The base
// logger discards everything; install another one to see the text.
class Logger {
public:
    virtual ~Logger() = default;
    virtual void write(const char* format, va_list args);
};

// Sends one printf-style message to the installed logger, if any.
void log(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Installs `logger`. With deleteOld false the current logger is handed back
// to its owner first instead of being deleted.
void setLogger(Logger* logger, bool deleteOld);

// The logger currently installed (null when the holder is empty).
Logger* currentLogger();

// A logger that prints every message to a stdio stream, for tools and tests.
class PrintLogger : public Logger {
public:
    void write(const char* format, va_list args) override;
};

} // namespace hlv
