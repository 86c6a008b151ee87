#pragma once
// Message boxes. With SKYDRIFT_ANSWER set (yes, no or cancel) the question is
// answered without showing it, and error boxes go to standard error instead
// of waiting for a click.

#include <cstddef>
#include <string>

namespace platform {

// NotShown: nobody could be asked (no display, or the box failed).
enum class Answer { Yes, No, Cancel, NotShown };

// The text as a box shows it: tabs expanded to four spaces and each line
// wrapped at word boundaries to at most `columns` characters (a longer word
// keeps a line of its own); its own line breaks kept. The platform's box
// neither wraps nor expands tabs, so a long line runs off the screen.
std::string wrapForBox(const std::string& text, size_t columns);

// Yes/No/Cancel box with Cancel as the default button. When it cannot be
// shown, NotShown and the reason in `whyNotShown`.
Answer askYesNoCancel(const char* caption, const char* text, std::string* whyNotShown = nullptr);

// Answers every later question without showing it, as SKYDRIFT_ANSWER does
// (and before it); error boxes then go to standard error.
void setAnswer(Answer answer);

// Error box, owned by the program's window when it has one.
void showError(const char* caption, const char* text);

// For tools that run with nobody at the screen: error boxes go to standard
// error from now on.
void setUnattended();

} // namespace platform
