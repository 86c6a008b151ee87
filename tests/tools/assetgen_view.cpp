#include "tests/tools/assetgen_view.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "geometry/robust_mesh.h"
#include "geometry/surface.h"
#include "math/camera.h"
#include "render/gl_state_cache.h"
#include "render/mat_volumetric.h"
#include "scene/scene.h"
#include "timeline/brush_mesh_object.h"
#include "timeline/textured_brush.h"
#include "tools/writers/picture_writer.h"

void clearFrame()
{
    glViewport(0, 0, 800, 600);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearColor(0, 0, 0, 0);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void drawSceneView(Scene& scene, int camera, float seconds, const SceneView& view)
{
    GLStateCache& cache = GLStateCache::instance();
    glViewport(view.x, view.y, view.width, view.height);
    if (view.stencilZeroOnly) {
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_EQUAL, 0, 0xFFFFFFFF);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    }
    hlv::resetMatrices();
    if (!view.fillBackdrop)
        glColorMask(0, 0, 0, 0);
    glDepthFunc(GL_ALWAYS);
    glColor4f(scene.backdrop[0], scene.backdrop[1], scene.backdrop[2], scene.backdrop[3]);
    cache.setTextureUnits(0);
    hlv::drawFarQuad();
    glColorMask(1, 1, 1, 1);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    scene.set_pending_camera(camera);
    scene.evaluate(seconds);
    scene.draw();
    glDisable(GL_STENCIL_TEST);
    glViewport(0, 0, 800, 600);
}

void drawSceneFrame(Scene& scene, int camera, float seconds, const std::vector<hlv::RobustMesh*>& shafts)
{
    GLStateCache& cache = GLStateCache::instance();
    clearFrame();
    drawSceneView(scene, camera, seconds, SceneView());
    if (const Camera* view = scene.current_camera()) {
        hlv::Mat_Volumetric glow;
        for (hlv::RobustMesh* mesh : shafts) {
            cache.setMatrixMode(GL_PROJECTION);
            glLoadMatrixf(view->projectionMatrix().data());
            cache.setMatrixMode(GL_MODELVIEW);
            glLoadMatrixf(view->viewMatrix().data());
            glEnable(GL_CULL_FACE);
            glCullFace(GL_BACK);
            glFrontFace(GL_CW);
            glEnable(GL_DEPTH_TEST);
            glDepthFunc(GL_LEQUAL);
            for (const hlv::MeshPart& part : mesh->parts())
                glow.render(view, &part);
        }
    }
    EndFrame();
}

FrameStats frameStats(const Scene& scene, const std::string& name)
{
    std::vector<Rgba> pixels = readPixels(0, 0, 800, 600);
    FrameStats stats;
    double sum = 0, squares = 0, backdrop = 0;
    const int br = int(scene.backdrop[0] * 255), bg = int(scene.backdrop[1] * 255), bb = int(scene.backdrop[2] * 255);
    for (const Rgba& p : pixels) {
        double y = 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
        sum += y;
        squares += y * y;
        if (std::abs(p.r - br) <= 3 && std::abs(p.g - bg) <= 3 && std::abs(p.b - bb) <= 3)
            backdrop += 1;
    }
    double n = double(pixels.size());
    stats.mean = sum / n;
    stats.deviation = std::sqrt(std::max(0.0, squares / n - stats.mean * stats.mean));
    stats.backdropShare = backdrop / n;
    if (const char* folder = std::getenv("SKYDRIFT_ASSET_PREVIEW")) {
        std::vector<uint8_t> rgb(800 * 600 * 3);
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const Rgba& p = pixels[size_t(599 - y) * 800 + x];  // read back bottom row first
                uint8_t* out = &rgb[(size_t(y) * 800 + x) * 3];
                out[0] = p.r;
                out[1] = p.g;
                out[2] = p.b;
            }
        std::filesystem::create_directories(folder);
        writers::writePng(std::string(folder) + "/" + name + ".png", rgb.data(), 800, 600, 3);
    }
    return stats;
}
