#pragma once
#include <cstdarg>
#include <cstdio>
#include <string>

#include "log/logger.h"

// Installs itself as the process-wide logger for its lifetime, keeps every
// message as text, and puts the previous logger back at the end.
class CapturingLogger : public hlv::Logger {
public:
    CapturingLogger() : previous_(hlv::currentLogger()) { hlv::setLogger(this, false); }
    ~CapturingLogger() override { hlv::setLogger(previous_, false); }

    void write(const char* format, va_list args) override
    {
        char buffer[1024];
        std::vsnprintf(buffer, sizeof buffer, format, args);
        text += buffer;
    }

    bool contains(const std::string& part) const { return text.find(part) != std::string::npos; }

    std::string text;

private:
    hlv::Logger* previous_;
};
