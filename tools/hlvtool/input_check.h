#pragma once
// What is wrong with a file given to hlvtool, said before any reader sees it
// and in a person's words: missing, a folder, unreadable, another kind of
// file altogether (a picture, an archive), or cut short.

#include <string>

namespace hlvtool {

// Empty when `path` can be handed to a reader; else one sentence naming the
// file, what is wrong and what to try.
std::string inputProblem(const std::string& path);

// The sentence for a file a reader failed on: the reader's own words kept,
// the tool's sentence around them. `what` names the kind it was read as.
std::string readFailure(const std::string& path, const std::string& what, const std::string& readerMessage);

} // namespace hlvtool
