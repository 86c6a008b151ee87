#pragma once
// The importer's log as a person reads it with --verbose: one message a
// line, each naming the file it is about. The log itself is the show's
// (progress drawn with carriage returns, section rulers, weld counters);
// only its display here changes.

#include <cstdio>
#include <string>

namespace hlvtool {

class VerboseLines {
public:
    explicit VerboseLines(std::FILE* out) : out_(out) {}
    ~VerboseLines() { finish(); }

    // One piece of the log as the importer wrote it.
    void add(const std::string& text);
    // Writes what is still held (a line the log did not end).
    void finish();

private:
    void line(std::string text);

    std::FILE* out_;
    std::string pending_;  // "Reading file 'x'.." waiting for its "ok!"
    std::string current_;  // the file the messages are about
    std::string scene_;    // the scene being read, if any
    std::string section_;  // the scene's step: "objects", "surfaces", ...
};

} // namespace hlvtool
