#include "platform/dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sdl_window.h"
#include "platform/window.h"

namespace platform {

namespace {

bool g_answerGiven = false;
Answer g_answer = Answer::Cancel;

// The automated answer, or false when SKYDRIFT_ANSWER is not set.
bool automatedAnswer(Answer* answer)
{
    if (g_answerGiven) {
        *answer = g_answer;
        return true;
    }
    const char* value = std::getenv("SKYDRIFT_ANSWER");
    if (!value || !*value)
        return false;
    if (std::strcmp(value, "yes") == 0)
        *answer = Answer::Yes;
    else if (std::strcmp(value, "no") == 0)
        *answer = Answer::No;
    else if (std::strcmp(value, "cancel") == 0)
        *answer = Answer::Cancel;
    else {
        std::fprintf(stderr, "SKYDRIFT_ANSWER=%s is not yes, no or cancel; the question is shown\n", value);
        return false;
    }
    return true;
}

SDL_Window* owner()
{
    Window* window = mainWindow();
    return window ? window->sdl : nullptr;
}

// Columns that fit comfortably on the desktop: a box's font is about 8
// pixels wide, and the box keeps a margin; never wider than 80.
size_t boxColumns()
{
    SDL_DisplayMode mode;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0)
        return std::max<size_t>(40, std::min<size_t>(80, size_t(mode.w) * 2 / 3 / 8));
    return 72;  // before the video starts: fits a 1024-pixel screen
}

} // namespace

std::string wrapForBox(const std::string& text, size_t columns)
{
    std::string out, line, word;
    auto endWord = [&] {
        if (word.empty())
            return;
        if (!line.empty() && line.size() + word.size() > columns) {
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            out += line + "\n";
            line.clear();
        }
        line += word;
        word.clear();
    };
    for (char c : text) {
        if (c == '\n') {
            endWord();
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            out += line + "\n";
            line.clear();
        } else if (c == ' ' || c == '\t') {
            endWord();
            // Spaces belong to the line they follow; at a wrap they go.
            const size_t spaces = c == '\t' ? 4 : 1;
            if (line.size() + spaces <= columns)
                line.append(spaces, ' ');
        } else {
            word += c;
        }
    }
    endWord();
    return out + line;
}

namespace {

// No display to show a box on: SDL would try every kind of window system
// and a helper program that prints its own complaint.
bool noDisplay()
{
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return false;
    }
    return true;
}

} // namespace

void setAnswer(Answer answer)
{
    g_answerGiven = true;
    g_answer = answer;
}

Answer askYesNoCancel(const char* caption, const char* text, std::string* whyNotShown)
{
    Answer answer = Answer::Cancel;
    if (automatedAnswer(&answer))
        return answer;
    if (noDisplay()) {
        if (whyNotShown)
            *whyNotShown = "there is no display (DISPLAY is not set)";
        return Answer::NotShown;
    }
    const SDL_MessageBoxButtonData buttons[] = {
        {0, static_cast<int>(Answer::Yes), "Yes"},
        {0, static_cast<int>(Answer::No), "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
         static_cast<int>(Answer::Cancel), "Cancel"},
    };
    SDL_MessageBoxData box{};
    // No kind (error, warning, information): the plainest box, with no icon
    // on the platforms that would show one for a kind.
    box.flags = 0;
    box.title = caption;
    const std::string wrapped = wrapForBox(text, boxColumns());
    box.message = wrapped.c_str();
    box.numbuttons = 3;
    box.buttons = buttons;
    int pressed = static_cast<int>(Answer::Cancel);
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        if (whyNotShown) {
            const char* display = std::getenv("DISPLAY");
            *whyNotShown = std::string("no box could be shown on the display ") +
                           (display && *display ? display : std::getenv("WAYLAND_DISPLAY")) + " (" + SDL_GetError() + ")";
        }
        return Answer::NotShown;
    }
    // Closing the box without a button reports -1, which counts as Cancel.
    return pressed >= 0 ? static_cast<Answer>(pressed) : Answer::Cancel;
}

namespace {
bool g_unattended = false;
}

void setUnattended() { g_unattended = true; }

void showError(const char* caption, const char* text)
{
    Answer ignored;
    if (g_unattended || automatedAnswer(&ignored) || noDisplay()
        || SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, wrapForBox(text, boxColumns()).c_str(), owner())
               != 0)
        std::fprintf(stderr, "%s: %s\n", caption, text);
}

} // namespace platform
