#include "app/startup.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/init_gl.h"
#include "app/loading_frame.h"
#include "app/music_steps.h"
#include "app/show_script.h"
#include "app/show_window.h"
#include "platform/dialog.h"
#include "platform/ini.h"
#include "platform/window.h"
#include "render/device.h"
#include "render/frame_layout.h"
#include "render/gl_api.h"
#include "resources/detail_set.h"
#include "timeline/timeline.h"

const char* const kDisclaimerText =
    "Sky Drift - a demo by Halvane, 2001\n\n"
    "We have to warn you that this demo does require a big amount of system resources to run correctly. "
    "We encourage you to close every currently running application before starting the demo.\n\n"
    "This demo requires at least :\n"
    "\t- 400+MHz processor,\n"
    "\t- 32Mb graphics card with latest drivers (only tested on GeForce boards for now),\n"
    "\t- OpenGL 1.2.1 compliancy (at least ARB_multitexture & ARB_imaging),\n"
    "\t- 128Mb of RAM (more is recommanded under Win 9x/Me)\n\n"
    "This demo normally loads every data from disk before starting, but this can introduce problems on some "
    "systems. If you experience problems, the demo can load data during the show. This method should release "
    "some memory constraints, but some slowdowns will be noticeable. Do you want to preload everything at "
    "startup ?";

namespace {

constexpr const char* kCaption = "Sky Drift";
constexpr const char* kWindowError =
    "Unable to create a window or change display settings.\n"
    "Your system must be able to support 800x600x32 to run this demo, adjust Sky_Drift.ini to change display "
    "frequency if needed !";
constexpr const char* kOpenGLError =
    "Your system must be able to support OpenGL at 800x600x32 with 24bit ZBuffer & 8bits StencilBuffer to run "
    "this demo !";
constexpr const char* kExtensionError =
    "Your system must support the following OpenGL extensions to run this demo : \n"
    "\t- GL_ARB_multitexture\n"
    "\t- GL_ARB_imaging\n";

constexpr unsigned kScreenWidth = 800;
constexpr unsigned kScreenHeight = 600;

} // namespace

std::optional<int> startUp(const StartupOptions& options)
{
    bool loadDuringShow = options.loadDuringShow;
    if (options.askDisclaimer) {
        std::string why;
        platform::Answer answer = platform::askYesNoCancel("DISCLAIMER", kDisclaimerText, &why);
        if (answer == platform::Answer::NotShown) {
            // Not a cancel: nobody said no, the program could not ask.
            std::fprintf(stderr, "skydrift: cannot ask whether to preload the show: %s; answer with --answer "
                                 "yes|no|cancel or SKYDRIFT_ANSWER=yes|no|cancel\n", why.c_str());
            return -1;
        }
        if (answer == platform::Answer::Cancel)
            return 0;
        loadDuringShow = answer == platform::Answer::No;
    }

    const std::vector<ShowDisplay> displays = !options.fullScreen ? std::vector<ShowDisplay>{ShowDisplay::Plain}
                                              : options.displays.empty() ? displaysToTry()
                                                                         : options.displays;
    ShowWindowSize size;
    size.width = int(kScreenWidth);
    size.height = int(kScreenHeight);
    size.refreshRate = platform::readIniInt("./Sky_Drift.ini", "Sky_Drift", "Freq", 60);
    ShowDisplay display = ShowDisplay::Plain;
    platform::Window* window = openShowWindow(displays, size, options.hidden, &display);
    if (!window) {
        platform::showError(kCaption, kWindowError);
        return -1;
    }
    if (!InitGL(window, 0, kScreenWidth, kScreenHeight)) {
        // Not left at 800x600: the user gets the desktop back with the message.
        platform::restoreDisplayMode();
        platform::showError(kCaption, kOpenGLError);
        return -1;
    }
    if (!glflags::ARB_multitexture || !glflags::ARB_imaging) {
        platform::restoreDisplayMode();
        platform::showError(kCaption, kExtensionError);
        return -1;
    }
    if (gldevice::current->offscreenFrame)
        drawChosenFrame(options.frame ? *options.frame : frameChoiceFromEnvironment(), display == ShowDisplay::Mode);
    if ((display == ShowDisplay::Desktop || display == ShowDisplay::Window) && !gldevice::current->offscreenFrame)
        std::fprintf(stderr, "This OpenGL has no framebuffer objects to scale the show with: it is drawn unscaled "
                             "in the lower-left %ux%u of the window\n",
                     kScreenWidth, kScreenHeight);
    // The frame known now picks the pictures for the whole run.
    detailset::chooseFor(gldevice::frameWidth, gldevice::frameHeight);

    showLoadingFrame();
    startSoundAndLoadingTune();
    BuildShow(loadDuringShow);
    fadeOutLoadingTune();
    hlv::TimeLine::instance().rewind();
    startMainStream();
    return std::nullopt;
}
