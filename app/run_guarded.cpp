#include "app/run_guarded.h"

#include <exception>
#include <string>

#include "app/main_loop.h"
#include "persist/persistent.h"
#include "platform/dialog.h"
#include "platform/window.h"
#include "render/device.h"

namespace {

int endWithError(const std::string& text)
{
    // A file that could not be loaded stops the start-up or a frame: what
    // the show holds goes, with the device and the window, before the error
    // is shown.
    if (gldevice::current)
        shutDownShow();
    platform::restoreDisplayMode();
    platform::showError("Sky Drift", text.c_str());
    return -1;
}

} // namespace

int runGuarded(const std::function<int()>& body)
{
    try {
        return body();
    } catch (const std::exception& error) {
        // Some libraries throw without a message: the error box still says something.
        const std::string text = error.what();
        return endWithError(text.empty() ? "A file of the show could not be loaded." : text);
    } catch (persistent::exception error) {
        return endWithError(std::string("A scene file could not be read: ") + describe(error));
    } catch (...) {
        return endWithError("A file of the show could not be loaded.");
    }
}
