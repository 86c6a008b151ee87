#pragma once
// A recording entry-point table: the slots under test are pointed at
// functions that log their calls as text ("glEnable 0xde1").

#include <cstdio>
#include <string>
#include <vector>

#include "render/gl_api.h"

inline std::vector<std::string>& glCalls()
{
    static std::vector<std::string> calls;
    return calls;
}

inline void recordCall(const char* name, unsigned value)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s 0x%x", name, value);
    glCalls().push_back(text);
}

// Points the state-cache slots at recorders.
inline void recordStateCalls()
{
    slot_glEnable = [](GLenum cap) { recordCall("glEnable", cap); };
    slot_glDisable = [](GLenum cap) { recordCall("glDisable", cap); };
    slot_glEnableClientState = [](GLenum array) { recordCall("glEnableClientState", array); };
    slot_glDisableClientState = [](GLenum array) { recordCall("glDisableClientState", array); };
    slot_glActiveTextureARB = [](GLenum unit) { recordCall("glActiveTextureARB", unit); };
    slot_glClientActiveTextureARB = [](GLenum unit) { recordCall("glClientActiveTextureARB", unit); };
    slot_glBindTexture = [](GLenum target, GLuint name) {
        recordCall("glBindTexture", target);
        recordCall("  name", name);
    };
    slot_glMatrixMode = [](GLenum mode) { recordCall("glMatrixMode", mode); };
}
