#pragma once
// Message boxes. With SKYDRIFT_ANSWER set (yes, no or cancel) the question is
// answered without showing it, and error boxes go to standard error instead
// of waiting for a click.

namespace platform {

enum class Answer { Yes, No, Cancel };

// Yes/No/Cancel box with Cancel as the default button.
Answer askYesNoCancel(const char* caption, const char* text);

// Error box, owned by the program's window when it has one.
void showError(const char* caption, const char* text);

// For tools that run with nobody at the screen: error boxes go to standard
// error from now on.
void setUnattended();

} // namespace platform
