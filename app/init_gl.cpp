#include "app/init_gl.h"

#include "persist/factory.h"
#include "render/device.h"

bool InitGL(platform::Window* window, int, unsigned width, unsigned height)
{
    gldevice::screenWidth = width;
    gldevice::screenHeight = height;
    gldevice::window = window;
    try {
        gldevice::current = new HL_3Ddevice(window);
    } catch (HL_3Ddevice::EError) {
        return false;
    }
    gldevice::current->drawOffscreen(width, height);
    register_factories();
    return true;
}
