#pragma once
// Helpers of the object-loader tests: files written with the LWO2 writer into
// the test's working directory, loads that report their failure text, and a
// capture of the per-chunk trace.

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>

#include "geometry/robust_mesh.h"
#include "import/importer_context.h"
#include "import/lwo2_loader.h"
#include "tests/geometry/capturing_logger.h"
#include "tools/writers/lwo2_writer.h"
#include "tools/writers/xm_writer.h"  // writeFileBytes

inline std::string& tracedText()
{
    static std::string text;
    return text;
}

inline void captureTrace(const char* format, va_list args)
{
    char buffer[1024];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    tracedText() += buffer;
}

// Installs the trace capture and a capturing logger for a test's lifetime.
struct LoadCapture {
    LoadCapture()
    {
        tracedText().clear();
        LW::setTraceHook(captureTrace);
    }
    ~LoadCapture() { LW::setTraceHook(nullptr); }
    bool traced(const std::string& part) const { return tracedText().find(part) != std::string::npos; }
    CapturingLogger log;
};

inline std::string saveObject(const std::string& name, const std::vector<uint8_t>& bytes)
{
    writers::writeFileBytes(name, bytes);
    return name;
}

inline std::string saveObject(const std::string& name, const writers::Lwo2Writer& writer)
{
    return saveObject(name, writer.bytes());
}

// Loads and builds (flags 0). A load failure leaves null and sets `failed`.
inline std::unique_ptr<hlv::RobustMesh> loadBuilt(const std::string& name, bool* failed = nullptr)
{
    if (failed)
        *failed = false;
    try {
        std::unique_ptr<hlv::RobustMesh> mesh(loadLWO2(name.c_str(), nullptr));
        if (mesh)
            mesh->build(0);
        return mesh;
    } catch (bool) {
        if (failed)
            *failed = true;
        return nullptr;
    }
}

// The unit square (points 1..4; point 0 is an unused extra) in the z = 0 plane.
inline std::vector<Vector3f> squarePoints()
{
    return {{9, 9, 9}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
}
