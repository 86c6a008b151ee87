#pragma once
// Runs importer code and turns its failures (the thrown bools, file errors)
// into one message naming the file, keeping the importer's last log line.

#include <functional>
#include <string>
#include <vector>

namespace hlvtool {

// True when `work` ran through; else `error` says what went wrong.
bool guardedImport(const std::string& path, const std::function<void()>& work, std::string& error);

// Shows the importer's log on standard error while `verbose` is set.
void setVerbose(bool verbose);
// Whether a file a LightWave scene needs and that is not found fails the
// import (--strict) rather than being warned about.
void setStrictFiles(bool strict);
bool strictFiles();

// While `into` is set, each warning the importer logs is also appended to
// it, without its "Warning" mark; null stops the collection.
void collectWarnings(std::vector<std::string>* into);

} // namespace hlvtool
