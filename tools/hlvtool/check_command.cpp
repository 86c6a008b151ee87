#include "tools/hlvtool/check_command.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

#include "tools/hlvtool/check_file.h"

namespace fs = std::filesystem;

namespace hlvtool {

namespace {

// Long enough for the largest objects subdivided; a file that takes longer
// is taken to hang.
constexpr int kSecondsPerFile = 120;

// Every regular file under `folder`, sorted so that surveys compare;
// symbolic links to folders are not followed (they may loop).
bool filesUnder(const std::string& folder, std::vector<std::string>& files, std::string& error)
{
    std::error_code code;
    if (!fs::is_directory(folder, code)) {
        error = folder + ": is not a folder";
        return false;
    }
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, code), end;
         !code && it != end; it.increment(code))
        if (it->is_regular_file(code))
            files.push_back(it->path().string());
    if (code) {
        error = folder + ": " + code.message();
        return false;
    }
    std::sort(files.begin(), files.end());
    return true;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); !from.empty() && at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// Paths inside the folder are named from the folder, so that a survey reads
// the same wherever the folder is.
void nameFromFolder(FileCheck& check, const std::string& folder)
{
    std::error_code code;
    std::vector<std::string> prefixes = {folder, fs::path(folder).lexically_normal().string(),
                                         fs::absolute(folder, code).lexically_normal().string(),
                                         fs::weakly_canonical(folder, code).string()};
    for (std::string& prefix : prefixes)
        if (prefix.empty() || prefix.back() != '/')
            prefix += '/';
    // The longest first: an absolute path holds the folder as given.
    std::sort(prefixes.begin(), prefixes.end(), [](const std::string& a, const std::string& b) {
        return a.size() > b.size();
    });
    auto strip = [&](std::string& text) {
        for (const std::string& prefix : prefixes)
            if (prefix != "/")
                replaceAll(text, prefix, "");
    };
    strip(check.path);
    strip(check.contents);
    strip(check.error);
    // The error repeats the file's name first; the line already starts with it.
    if (check.error.compare(0, check.path.size() + 2, check.path + ": ") == 0)
        check.error.erase(0, check.path.size() + 2);
    for (auto* list : {&check.missing, &check.unreadable, &check.warnings})
        for (std::string& text : *list)
            strip(text);
}

// Opens the file in a child process and reads its findings back through a
// pipe; a child that crashes or takes too long is a file that did not open.
FileCheck checkInChild(const std::string& path, bool verbose)
{
    FileCheck failed = kindOfFile(path);
    if (failed.kind.empty())
        return failed;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        failed.error = std::string("cannot start a check: ") + std::strerror(errno);
        return failed;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child < 0) {
        failed.error = std::string("cannot start a check: ") + std::strerror(errno);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return failed;
    }
    if (child == 0) {
        close(pipeEnds[0]);
        if (!verbose && !std::freopen("/dev/null", "w", stderr))
            _exit(3);
        const std::string text = checkFile(path).toJson().dump();
        for (size_t written = 0; written < text.size();) {
            const ssize_t n = write(pipeEnds[1], text.data() + written, text.size() - written);
            if (n <= 0)
                _exit(3);
            written += size_t(n);
        }
        // Whatever the libraries registered to run at exit is not ours to run twice.
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kSecondsPerFile);
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd wait{pipeEnds[0], POLLIN, 0};
        const int ready = poll(&wait, 1, int(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        char buffer[65536];
        const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        text.append(buffer, size_t(n));
    }
    close(pipeEnds[0]);
    if (timedOut)
        kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut) {
        failed.error = "did not finish in " + std::to_string(kSecondsPerFile) + " s";
        return failed;
    }
    if (WIFSIGNALED(status)) {
        failed.error = std::string("crashed (") + strsignal(WTERMSIG(status)) + ")";
        return failed;
    }
    try {
        return FileCheck::fromJson(nlohmann::json::parse(text));
    } catch (const std::exception&) {
        failed.error = "stopped without saying what it found (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
        return failed;
    }
}

// Repeated warnings once each, with how often they came.
std::vector<std::string> counted(const std::vector<std::string>& lines)
{
    std::vector<std::string> order;
    std::map<std::string, int> times;
    for (const std::string& line : lines)
        if (times[line]++ == 0)
            order.push_back(line);
    for (std::string& line : order)
        if (times[line] > 1)
            line += " (" + std::to_string(times[line]) + " times)";
    return order;
}

std::string textLine(const FileCheck& check)
{
    std::string line = check.path + ": " + check.kind + (check.version.empty() ? "" : " " + check.version);
    line += check.opened ? ", opened: " + check.contents : ", failed: " + check.error;
    for (const std::string& missing : check.missing)
        line += "; missing " + missing;
    for (const std::string& unreadable : check.unreadable)
        line += "; unreadable " + unreadable;
    for (const std::string& warning : counted(check.warnings))
        line += "; warning: " + warning;
    return line;
}

struct Totals {
    size_t objects = 0, scenes = 0, sceneFiles = 0, opened = 0, failed = 0;
    size_t missing = 0, unreadable = 0, warnings = 0, skipped = 0;

    void add(const FileCheck& check)
    {
        (check.kind == "object" ? objects : check.kind == "scene" ? scenes : sceneFiles) += 1;
        (check.opened ? opened : failed) += 1;
        missing += check.missing.size();
        unreadable += check.unreadable.size();
        warnings += check.warnings.size();
    }
    std::string text() const
    {
        char line[512];
        std::snprintf(line, sizeof line,
                      "%zu files checked (%zu objects, %zu scenes, %zu scene files): %zu opened, %zu failed; "
                      "%zu missing, %zu unreadable, %zu warnings; %zu other files",
                      objects + scenes + sceneFiles, objects, scenes, sceneFiles, opened, failed, missing,
                      unreadable, warnings, skipped);
        return line;
    }
    nlohmann::ordered_json json() const
    {
        nlohmann::ordered_json totals;
        totals["checked"] = objects + scenes + sceneFiles;
        totals["objects"] = objects;
        totals["scenes"] = scenes;
        totals["scene_files"] = sceneFiles;
        totals["opened"] = opened;
        totals["failed"] = failed;
        totals["missing"] = missing;
        totals["unreadable"] = unreadable;
        totals["warnings"] = warnings;
        totals["other_files"] = skipped;
        return nlohmann::ordered_json{{"totals", totals}};
    }
};

} // namespace

int checkFolder(const CheckRequest& request)
{
    std::vector<std::string> files;
    std::string error;
    if (!filesUnder(request.folder, files, error)) {
        std::fprintf(stderr, "hlvtool: %s\n", error.c_str());
        return 1;
    }
    Totals totals;
    for (const std::string& path : files) {
        FileCheck check = checkInChild(path, request.verbose);
        if (check.kind.empty()) {
            ++totals.skipped;
            continue;
        }
        nameFromFolder(check, request.folder);
        totals.add(check);
        const std::string line = request.json ? check.toJson().dump() : textLine(check);
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }
    std::printf("%s\n", request.json ? totals.json().dump().c_str() : totals.text().c_str());
    return totals.failed == 0 ? 0 : 1;
}

} // namespace hlvtool
