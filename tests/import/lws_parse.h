#pragma once
// A LightWave scene text parsed for a test, with what the parser logged.
#include <string>

#include "import/lws_parser.h"
#include "tests/geometry/capturing_logger.h"

// Parses `text`; on a failure, `thrown` gets "true" or "false" (the thrown
// bool) and the log keeps the message.
struct Parse {
    explicit Parse(const std::string& text)
    {
        try {
            LW::parseLwsText(text, scene);
        } catch (bool value) {
            thrown = value ? "true" : "false";
        }
    }
    CapturingLogger log;
    LW::LwsScene scene;
    std::string thrown;
};
