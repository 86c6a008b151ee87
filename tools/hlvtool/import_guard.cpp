#include "tools/hlvtool/import_guard.h"

#include <cstdio>
#include <cstring>
#include <exception>

#include "import/content_directory.h"
#include "log/logger.h"
#include "persist/persistent.h"

namespace hlvtool {

namespace {

bool g_verbose = false;
bool g_strictFiles = false;
std::vector<std::string>* g_warnings = nullptr;

// "** Warning: x", "Warning: x": x. Empty for a line that is no warning.
std::string warningText(const std::string& line)
{
    for (const char* mark : {"** Warning: ", "Warning: "})
        if (line.compare(0, std::strlen(mark), mark) == 0)
            return line.substr(std::strlen(mark));
    return {};
}

bool startsWith(const std::string& text, const char* start) { return text.compare(0, std::strlen(start), start) == 0; }

bool isFileWarning(const std::string& line)
{
    return startsWith(line, LW::kMissingFileWarning) || startsWith(line, LW::kUndecodablePictureWarning) ||
           startsWith(line, LW::kUnreadableObjectWarning);
}

// Keeps the last non-blank line the importer logged: the reason of a failure.
class LastLineLogger : public hlv::Logger {
public:
    void write(const char* format, va_list args) override
    {
        char text[1024];
        va_list copy;
        va_copy(copy, args);
        std::vsnprintf(text, sizeof text, format, copy);
        va_end(copy);
        if (g_verbose)
            std::fputs(text, stderr);
        std::string line(text);
        const size_t first = line.find_first_not_of(" \n");
        if (first == std::string::npos)
            return;
        const size_t last = line.find_last_not_of(" \n");
        last_ = line.substr(first, last - first + 1);
        // A missing or unusable file is the user's to know about, verbose
        // or not.
        if (!g_verbose && isFileWarning(last_))
            std::fprintf(stderr, "hlvtool: warning: %s\n", last_.c_str() + std::strlen("** Warning: "));
        if (last_.compare(0, kError.size(), kError) == 0)
            lastError_ = last_.substr(kError.size());
        const std::string warning = warningText(last_);
        if (g_warnings && !warning.empty())
            g_warnings->push_back(warning);
    }
    // The failure, with the reader's reason when a later line says what failed.
    std::string message() const
    {
        if (last_.empty())
            return "cannot be read";
        if (lastError_.empty() || last_.compare(0, kError.size(), kError) == 0)
            return last_;
        return last_ + ": " + lastError_;
    }

    static inline const std::string kError = "Error !! ";
    std::string last_, lastError_;
};

} // namespace

void setVerbose(bool verbose) { g_verbose = verbose; }
void setStrictFiles(bool strict) { g_strictFiles = strict; }
bool strictFiles() { return g_strictFiles; }
void collectWarnings(std::vector<std::string>* into) { g_warnings = into; }

bool guardedImport(const std::string& path, const std::function<void()>& work, std::string& error)
{
    auto* logger = new LastLineLogger;
    hlv::setLogger(logger, true);
    bool ok = false;
    try {
        work();
        ok = true;
    } catch (bool) {
        error = path + ": " + logger->message();
    } catch (persistent::exception e) {
        error = path + ": " + describe(e);
    } catch (const std::exception& e) {
        error = path + ": " + e.what();
    } catch (...) {
        error = path + ": cannot be read";
    }
    hlv::setLogger(nullptr, true);
    return ok;
}

} // namespace hlvtool
