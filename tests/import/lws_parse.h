#pragma once
// A LightWave scene text parsed for a test, with what the parser logged.
#include <memory>
#include <string>

#include "import/lws_convert.h"
#include "import/lws_parser.h"
#include "scene/scene.h"
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

// Converts a parsed record as the tools do: textures keep their pixels and
// are not uploaded, so no OpenGL context is needed.
inline std::unique_ptr<Scene> convertWithoutUpload(LW::LwsScene& record)
{
    LW::ConvertOptions options;
    options.uploadTextures = false;
    return std::unique_ptr<Scene>(LW::convertLwsScene(record, options));
}

// Parses `text` into `record`, objects and images looked for in `folder`, and
// converts it without upload.
inline std::unique_ptr<Scene> importLwsText(const std::string& text, const std::string& folder, LW::LwsScene& record)
{
    record.searchDirectories = {folder};
    LW::parseLwsText(text, record);
    return convertWithoutUpload(record);
}
