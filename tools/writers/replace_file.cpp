#include "tools/writers/replace_file.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <random>

namespace writers {

namespace {

// The temporary file being written, for the signal handler: a fixed buffer,
// since a handler may not allocate.
char g_temporary[4096];
const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removeTemporaryAndStop(int signal)
{
    if (g_temporary[0])
        std::remove(g_temporary);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Removes the temporary file when the writing ends, however it ends, and
// while it lasts, when the process is stopped.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& path) : path_(path)
    {
        if (path.size() < sizeof g_temporary) {
            std::memcpy(g_temporary, path.c_str(), path.size() + 1);
            for (size_t i = 0; i < std::size(kSignals); ++i)
                previous_[i] = std::signal(kSignals[i], removeTemporaryAndStop);
        }
    }
    ~TemporaryFile()
    {
        if (!kept_)
            std::remove(path_.c_str());
        for (size_t i = 0; i < std::size(kSignals); ++i)
            if (previous_[i] != SIG_ERR)
                std::signal(kSignals[i], previous_[i]);
        g_temporary[0] = '\0';
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void renamed() { kept_ = true; }

private:
    std::string path_;
    bool kept_ = false;
    void (*previous_[std::size(kSignals)])(int) = {SIG_ERR, SIG_ERR, SIG_ERR};
};

std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string reason(int error) { return std::strerror(error); }

// A name no file has yet, beside `path` and hidden there, claimed by
// creating the file.
std::string claimTemporaryName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::random_device entropy;
    int error = 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", unsigned(entropy()));
        const std::string candidate = folder + "." + name + suffix + ".part";
        if (FILE* file = std::fopen(candidate.c_str(), "wbx")) {
            std::fclose(file);
            return candidate;
        }
        error = errno;
        if (error != EEXIST)
            break;
    }
    throw ReplaceFileError(path + ": cannot be written, no file can be made in the folder '" + folderOf(path) +
                           "' (" + reason(error) + ")");
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

void replaceFile(const std::string& path, const std::function<void(const std::string& temporaryPath)>& write)
{
    const std::string temporaryPath = claimTemporaryName(path);
    TemporaryFile temporary(temporaryPath);
    try {
        write(temporaryPath);
    } catch (const ReplaceFileError&) {
        throw;
    } catch (const std::exception& error) {
        throw ReplaceFileError(replaced(error.what(), temporaryPath, path));
    }
    if (std::rename(temporaryPath.c_str(), path.c_str()) != 0)
        throw ReplaceFileError(path + ": cannot be replaced (" + reason(errno) + ")");
    temporary.renamed();
}

} // namespace writers
