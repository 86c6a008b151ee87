#pragma once
// Writing a file so that it is never left half-written: the content goes to
// a temporary file beside the target, renamed over the target only once it
// is complete. A failure, or the process being stopped by SIGINT, SIGTERM or
// SIGHUP meanwhile, removes the temporary file and leaves an earlier target
// as it was.

#include <functional>
#include <stdexcept>
#include <string>

namespace writers {

// Names the target file and says what went wrong.
class ReplaceFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Calls `write` with the path of a new, empty file in the folder of `path`
// (a file-system path) and then renames that file to `path`. Throws
// ReplaceFileError when the temporary file cannot be made or renamed. What
// `write` throws is passed on once the temporary file is gone; a standard
// exception comes back as a ReplaceFileError whose message names `path`
// where it named the temporary file.
void replaceFile(const std::string& path, const std::function<void(const std::string& temporaryPath)>& write);

} // namespace writers
