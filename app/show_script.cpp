#include "app/show_script.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/robust_mesh.h"
#include "render/gl_api.h"
#include "render/mat_lit.h"
#include "render/mat_volumetric.h"
#include "resources/bitmap_manager.h"
#include "resources/mesh_manager.h"
#include "resources/scene_manager.h"
#include "timeline/bitmap_brush.h"
#include "timeline/bitmap_events.h"
#include "timeline/brush_alpha_to_stencil.h"
#include "timeline/brush_backdrop.h"
#include "timeline/brush_envelope_value.h"
#include "timeline/brush_envelope_zoom_factor.h"
#include "timeline/brush_flat_quad.h"
#include "timeline/brush_frontdrop.h"
#include "timeline/brush_mesh_in_scene.h"
#include "timeline/brush_mesh_object.h"
#include "timeline/brush_ombres.h"
#include "timeline/brush_scene.h"
#include "timeline/brush_scroll_quad.h"
#include "timeline/events.h"
#include "timeline/mesh_events.h"
#include "timeline/music_events.h"
#include "timeline/scene_events.h"
#include "timeline/timeline.h"

// The show, written as its cue sheet. Each section sets the timeline's base
// time to its start and gives its times relative to it. Within a section,
// brushes and events are created in cue order, which is also the drawing
// order within a layer and the firing order of events with equal times.

using namespace hlv;

namespace {

// The shadow piece's materials are shared, not owned, by its layer: they
// live here until the process ends.
std::vector<std::unique_ptr<Material>> g_sharedMaterials;

void setBase(float seconds) { TimeLine::instance().baseTime = seconds; }

template <typename B>
B* makeBrush(int layer, float duration)
{
    B* brush = new B;
    brush->layer = layer;
    brush->duration = duration;
    return brush;
}

void activate(float time, Brush* brush) { new EvtActivateBrush(time, brush); }

void constant(Envelope& channel, float value) { channel.addKey(0, value); }

// Loads a LightWave object and builds it with `flags`; a file that cannot be
// loaded ends the start-up with its name. The object reader answers null for
// a well-formed IFF file of another kind, which the show cannot do without
// either.
void loadMesh(const char* name, unsigned flags)
{
    RobustMesh* mesh = nullptr;
    try {
        mesh = meshManager.load(name, nullptr);
    } catch (bool) {
        throw std::runtime_error(std::string("Cannot load the object \"") + name + "\".");
    }
    if (!mesh)
        throw std::runtime_error(std::string("Cannot load the object \"") + name + "\": it is not a LightWave object.");
    mesh->build(flags);
}

Mat_Lit* litMaterial(const float ambient[4], const float diffuse[4], const float specular[4], float shininess)
{
    Mat_Lit* m = new Mat_Lit;
    for (int i = 0; i < 4; ++i) {
        if (ambient)
            m->ambient[i] = ambient[i];
        m->diffuse[i] = diffuse[i];
        m->specular[i] = specular[i];
    }
    m->shininess = shininess;
    return m;
}

Mat_Lit* sharedLitMaterial(const float ambient[4], const float diffuse[4], const float specular[4], float shininess)
{
    Mat_Lit* m = litMaterial(ambient, diffuse, specular, shininess);
    g_sharedMaterials.emplace_back(m);
    return m;
}

void loadScene(const char* name, bool loadDuringShow, float loadTime)
{
    if (loadDuringShow)
        new EvtLoadScene(loadTime, name);
    else
        sceneManager.load(name, false);
}

const char* const kPilot = "demo\\intro\\objet\\pilot.lwo";
const char* const kStrips[3] = {"demo\\fil1.png", "demo\\fil2.png", "demo\\fil3.png"};
const char* const kCasters[3] = {"demo\\ombres\\1.lwo", "demo\\ombres\\2.lwo", "demo\\ombres\\3.lwo"};
const char* const kReceiver = "demo\\ombres\\hlv.lwo";
const char* const kLightShafts[8] = {
    "demo\\Mosquee\\volum1OK2.lwo", "demo\\Mosquee\\volum1OK2sym.lwo", "demo\\Mosquee\\volum2OK.lwo",
    "demo\\Mosquee\\volum2OKsym.lwo", "demo\\Mosquee\\volum3OK.lwo", "demo\\Mosquee\\volum3OKsym.lwo",
    "demo\\Mosquee\\volumPlaf.lwo", "demo\\Mosquee\\volumPlaf-sym.lwo"};

// The intro: the title object turning three times over the sky, with light
// strips scrolling up the right of the screen.
void intro()
{
    setBase(0.0f);
    BrushBackdrop* sky = makeBrush<BrushBackdrop>(0, 15.5f);
    sky->bitmapName = "demo\\backs\\1.jpg";
    activate(0.0f, sky);

    loadMesh(kPilot, RobustMesh::ComputeNormals);
    struct Turn {
        float start, duration;
        bool depthReset;
        float diffuse[4], specular[4];
    };
    const Turn turns[3] = {
        {0.0f, 15.5f, true, {0, 0.3f, 0.7f, 1}, {0.6f, 1, 1, 1}},
        {4.5f, 11.0f, false, {0, 0.9f, 0.9f, 1}, {1, 1, 1, 1}},
        {7.5f, 8.0f, false, {0.9f, 0.9f, 0.9f, 1}, {1, 1, 1, 1}},
    };
    for (int i = 0; i < 3; ++i) {
        const Turn& turn = turns[i];
        BrushMeshObject* object = makeBrush<BrushMeshObject>(0, turn.duration);
        object->meshName = kPilot;
        object->materials.push_back(litMaterial(nullptr, turn.diffuse, turn.specular, 1.0f));
        object->depthReset = turn.depthReset;
        for (int c = 2; c <= 3; ++c) {
            if (i == 0)
                object->channels[c].addKey(0, 1).addKey(1, 1).addKey(14, 1).addKey(14.5f, 0);
            else if (i == 1)
                object->channels[c].addKey(0, 0).addKey(0.5f, 1).addKey(10, 1).addKey(10.4f, 0);
            else
                object->channels[c].addKey(0, 0).addKey(0.5f, 1).addKey(5.8f, 1).addKey(6.2f, 0);
        }
        if (i == 0) {
            object->angles[0].addKey(0, 0).addKey(2, 110).addKey(4, 493).setLinear();
            object->angles[1].addKey(0, 0).addKey(2, 124).addKey(4, 561).setLinear();
            object->zoom.addKey(0, 1).addKey(3, 1).addKey(4, 0.1f);
        } else {
            const float xTurn = i == 1 ? 573.0f : 753.0f, yTurn = i == 1 ? 601.0f : 666.0f;
            object->angles[0].addKey(0, 0).addKey(3, xTurn).setLinear();
            object->angles[1].addKey(0, 0).addKey(3, yTurn).setLinear();
            constant(object->zoom, 0.1f);
        }
        activate(turn.start, object);
    }

    for (const char* strip : kStrips)
        new EvtLoadBitmapAlpha(0.0f, strip);
    for (int i = 0; i < 3; ++i) {
        BrushScrollQuad* quad = makeBrush<BrushScrollQuad>(2, 15.5f);
        quad->bitmapName = kStrips[i];
        if (i == 0)
            quad->channels[0].addKey(0, 0.75f).addKey(0.25f, 0.8f).setOscillate();
        else if (i == 1)
            quad->channels[0].addKey(0, 0.75f).addKey(0.27f, 0.71f).setOscillate();
        else
            constant(quad->channels[0], 0.75f);
        constant(quad->channels[2], 0.05f);
        constant(quad->channels[3], 2.0f);
        activate(0.0f, quad);

        BrushEnvelopeValue* scroll = new BrushEnvelopeValue(&quad->textureOffset);
        scroll->layer = 1;
        scroll->duration = 15.5f;
        scroll->value.addKey(0, 0).addKey(0.25f, 1).setLinear();
        activate(0.0f, scroll);
    }
}

// The shadow piece: the emblem and its flying companions under a frame that
// fades in from black, ending in a white flash.
void shadows()
{
    setBase(15.5f);
    for (int i = 2; i >= 0; --i)
        new EvtUnloadBitmap(0.0f, kStrips[i]);
    new EvtUnloadMesh(0.0f, kPilot);
    new EvtLoadBitmapBackdrop(0.0f, "demo\\frontdrop.jpg");

    BrushFrontdrop* frame = makeBrush<BrushFrontdrop>(4, 27.0f);
    frame->bitmapName = "demo\\frontdrop.jpg";
    frame->channels[4].addKey(0, 0).addKey(0.5f, 1);
    frame->channels[5].addKey(0, 0).addKey(0.75f, 1);
    frame->channels[6].addKey(0, 0).addKey(1, 1);
    activate(0.0f, frame);

    BrushBackdrop* sky = makeBrush<BrushBackdrop>(0, 27.0f);
    sky->bitmapName = "demo\\backs\\1.jpg";
    activate(0.0f, sky);
    new EvtUnloadBitmap(27.0f, "demo\\backs\\1.jpg");

    loadMesh(kReceiver, RobustMesh::ComputeNormals | RobustMesh::BuildEdges);
    for (const char* caster : kCasters)
        loadMesh(caster, RobustMesh::ComputeNormals | RobustMesh::BuildEdges);

    const float none[4] = {0, 0, 0, 0};
    const float s1a[4] = {0, 0.2f, 0, 0}, s1d[4] = {175 / 255.0f, 225 / 255.0f, 157 / 255.0f, 0}, s1s[4] = {0.8f, 1, 0.8f, 0};
    const float s2a[4] = {0, 0.7f, 0.7f, 0}, s2d[4] = {62 / 255.0f, 163 / 255.0f, 174 / 255.0f, 0}, s2s[4] = {0.8f, 1, 1, 0};
    const float s3d[4] = {1, 0.91f, 0.78f, 0}, s4d[4] = {0.78f, 1, 0.91f, 0}, s5d[4] = {0.78f, 0.78f, 1, 0};
    const float white[4] = {1, 1, 1, 0};
    Material* s1 = sharedLitMaterial(s1a, s1d, s1s, 0.9f);
    Material* s2 = sharedLitMaterial(s2a, s2d, s2s, 0.9f);
    Material* s3 = sharedLitMaterial(none, s3d, white, 0.9f);
    Material* s4 = sharedLitMaterial(none, s4d, white, 0.9f);
    Material* s5 = sharedLitMaterial(none, s5d, white, 0.9f);

    BrushOmbres* piece = makeBrush<BrushOmbres>(1, 27.0f);
    piece->receiverName = kReceiver;
    piece->materials = {s1, s2};
    piece->objectMaterials = {s3, s4, s5};
    for (const char* caster : kCasters)
        piece->casterNames.push_back(caster);
    piece->channels[1].addKey(0, -3).addKey(1.5f, 0);
    constant(piece->channels[2], 1);
    constant(piece->channels[3], 1);
    activate(0.0f, piece);

    BrushFlatQuad* flash = makeBrush<BrushFlatQuad>(4, 1.5f);
    constant(flash->channels[2], 2);
    constant(flash->channels[3], 2);
    flash->channels[7].addKey(0, 0).addKey(0.25f, 1).addKey(0.75f, 1).addKey(1.5f, 0);
    activate(26.75f, flash);
}

// The mosque, with eight shafts of light seen through its camera.
void mosque()
{
    setBase(42.5f);
    for (int i = 2; i >= 0; --i)
        new EvtUnloadMesh(0.0f, kCasters[i]);
    new EvtUnloadMesh(0.0f, kReceiver);
    new EvtUnloadBitmap(0.0f, "demo\\frontdrop.jpg");

    sceneManager.load("demo\\mosquee.hlv", false);
    for (const char* shaft : kLightShafts)
        loadMesh(shaft, 0);

    BrushScene* hall = makeBrush<BrushScene>(0, 32.6f);
    hall->sceneName = "demo\\mosquee.hlv";
    constant(hall->channels[2], 1);
    constant(hall->channels[3], 1);
    activate(0.0f, hall);
    for (const char* shaft : kLightShafts) {
        BrushMeshInScene* light = makeBrush<BrushMeshInScene>(1, 32.6f);
        light->sceneName = "demo\\mosquee.hlv";
        light->meshName = shaft;
        light->materials.push_back(new Mat_Volumetric);
        activate(0.0f, light);
    }
    new EvtUnloadScene(32.6f, "demo\\mosquee.hlv");
}

// The title, flickering into the cubes.
void cubes(bool loadDuringShow)
{
    setBase(75.1f);
    for (int i = 7; i >= 0; --i)
        new EvtUnloadMesh(0.0f, kLightShafts[i]);

    BrushBackdrop* title = makeBrush<BrushBackdrop>(0, 18.5f);
    title->bitmapName = "demo\\SkyDrift.jpg";
    activate(0.0f, title);
    new EvtUnloadBitmap(18.5f, "demo\\SkyDrift.jpg");
    loadScene("demo\\cubes.hlv", loadDuringShow, -3.0f);

    BrushScene* scene = makeBrush<BrushScene>(0, 19.5f);
    scene->sceneName = "demo\\cubes.hlv";
    scene->visible = false;
    scene->channels[2].addKey(0, 1).addKey(18.5f, 1).addKey(19.5f, 0);
    constant(scene->channels[3], 1);
    activate(0.0f, scene);

    const float flicker[9] = {0.35f, 0.6f, 0.8f, 1.1f, 1.35f, 1.5f, 1.6f, 1.7f, 1.8f};
    for (int i = 0; i < 9; ++i) {
        bool cubesShown = i % 2 == 0;
        bool titleShown = !cubesShown;
        new EvtChangeValue<bool>(flicker[i], &scene->visible, cubesShown);
        new EvtChangeValue<bool>(flicker[i], &title->visible, titleShown);
    }
    new EvtUnloadScene(19.5f, "demo\\cubes.hlv");
}

// The metaballs, pulsing their zoom under a sliding figure and the greetings.
void metaballs(bool loadDuringShow)
{
    setBase(93.6f);
    loadScene("demo\\metaballs.hlv", loadDuringShow, -3.0f);
    BitmapManager::instance().loadWithAlpha("pupic", "demo\\pupic.jpg", "demo\\pupic_a.jpg");
    new EvtLoadBitmapAlpha(0.0f, "demo\\greetings.jpg");

    BitmapBrush* figure = makeBrush<BitmapBrush>(4, 33.0f);
    figure->bitmapName = "pupic";
    figure->channels[0].addKey(0, -2).addKey(2, -1);
    constant(figure->channels[1], -1.07f);
    activate(0.0f, figure);

    BitmapBrush* greetings = makeBrush<BitmapBrush>(5, 16.3f);
    greetings->bitmapName = "demo\\greetings.jpg";
    constant(greetings->channels[0], -0.25f);
    constant(greetings->channels[1], -0.75f);
    greetings->channels[7]
        .addKey(0, 0)
        .addKey(12, 0)
        .addKey(12.75f, 1, 0, -1)
        .addKey(13, 0.5f, 0, -1)
        .addKey(13.5f, 1, 0, -1)
        .addKey(15, 0, 0, -1)
        .addKey(15.5f, 1)
        .addKey(16.3f, 0, 0, -1);
    activate(0.0f, greetings);

    BrushScene* scene = makeBrush<BrushScene>(1, 34.0f);
    scene->sceneName = "demo\\metaballs.hlv";
    scene->channels[0].addKey(0, 1).addKey(1, 0);
    scene->channels[2].addKey(0, 0).addKey(1, 1);
    scene->channels[3].addKey(0, 1).addKey(33, 1).addKey(34, 0);
    activate(0.0f, scene);

    BrushEnvelopeZoomFactor* pulse = makeBrush<BrushEnvelopeZoomFactor>(0, 32.0f);
    pulse->sceneName = "demo\\metaballs.hlv";
    pulse->cameraIndex = 0;
    const float wide = 0.4753334f;
    const float keys[14][2] = {{0, wide}, {2, 1}, {3, wide}, {6, 1}, {8, wide}, {11, 1}, {12, wide},
                               {15, 1}, {17, wide}, {19, 1}, {21, wide}, {23, 1}, {25, wide}, {32, 1}};
    for (const auto& key : keys)
        pulse->zoom.addKey(key[0], key[1], 0, 1);
    activate(0.0f, pulse);
    new EvtUnloadScene(34.0f, "demo\\metaballs.hlv");
}

// The landscape, and a second view of it cut by the rising skyline.
void landscape()
{
    setBase(126.6f);
    new EvtUnloadBitmap(0.0f, "demo\\greetings.jpg");
    new EvtUnloadBitmap(0.0f, "pupic");
    sceneManager.load("demo\\Davudare.hlv", false);
    new EvtLoadBitmapAlpha(0.0f, "demo\\cite-alpha.png");

    BrushAlphaToStencil* skyline = makeBrush<BrushAlphaToStencil>(0, 18.0f);
    skyline->bitmapName = "demo\\cite-alpha.png";
    constant(skyline->channels[0], -1);
    skyline->channels[1].addKey(0, -2).addKey(1, -1);

    BrushScene* wide = makeBrush<BrushScene>(1, 39.5f);
    wide->sceneName = "demo\\Davudare.hlv";
    wide->channels[0].addKey(0, 0).addKey(38, 0).addKey(38.5f, 0.5f, -1);
    wide->channels[1].addKey(0, 1).addKey(1, 0, -1).addKey(38, 0, -1).addKey(38.5f, 0.45f, -1);
    wide->channels[2].addKey(0, 1).addKey(38.5f, 1).addKey(39, 0, -1);
    wide->channels[3].addKey(0, 1).addKey(38, 1, -1).addKey(38.5f, 0.1f, -1).addKey(39, 0, -1);

    BrushScene* cut = makeBrush<BrushScene>(2, 18.0f);
    cut->sceneName = "demo\\Davudare.hlv";
    cut->cameraIndex = 1;
    cut->backdropFill = false;
    cut->stencilFunction = GL_EQUAL;
    cut->stencilReference = 0;
    cut->stencilMask = 0xFFFFFFFFu;
    cut->channels[1].addKey(0, 1.5f).addKey(1, 0.5f);
    constant(cut->channels[2], 0.5f);
    constant(cut->channels[3], 0.5f);

    activate(0.0f, wide);
    activate(0.0f, skyline);
    activate(0.0f, cut);
}

// The end scene in four views, the closing tune, a last flash and the logo.
void ending(bool loadDuringShow)
{
    setBase(166.1f);
    new EvtUnloadBitmap(0.0f, "demo\\cite-alpha.png");
    new EvtStartMusic(0.0f, "demo\\_SKYD22.xm");
    loadScene("demo\\fin2.hlv", loadDuringShow, -7.0f);

    const float corners[4][2] = {{0.5f, 0.5f}, {0, 0.5f}, {0.5f, 0}, {0, 0}};
    for (int camera = 0; camera < 4; ++camera) {
        BrushScene* view = makeBrush<BrushScene>(0, 0.0f);
        view->sceneName = "demo\\fin2.hlv";
        view->cameraIndex = camera;
        constant(view->channels[0], corners[camera][0]);
        constant(view->channels[1], corners[camera][1]);
        constant(view->channels[2], 0.5f);
        constant(view->channels[3], 0.5f);
        activate(0.0f, view);
    }

    BrushFlatQuad* flash = makeBrush<BrushFlatQuad>(4, 1.5f);
    constant(flash->channels[2], 2);
    constant(flash->channels[3], 2);
    flash->channels[7].addKey(0, 0).addKey(0.25f, 1).addKey(0.75f, 1).addKey(1.5f, 0);
    activate(74.75f, flash);

    setBase(241.1f);
    new EvtLoadBitmapBackdrop(0.0f, "demo\\backs\\biglogo.jpg");
    BrushBackdrop* logo = makeBrush<BrushBackdrop>(0, 1000.0f);
    logo->bitmapName = "demo\\backs\\biglogo.jpg";
    activate(0.0f, logo);

    setBase(1241.1f);
    new EvtUnloadBitmap(0.0f, "demo\\backs\\biglogo.jpg");
}

} // namespace

void BuildShow(bool loadDuringShow)
{
    BitmapManager::instance().loadPadded("demo\\SkyDrift.jpg");
    BitmapManager::instance().loadPadded("demo\\backs\\1.jpg");
    intro();
    shadows();
    mosque();
    cubes(loadDuringShow);
    metaballs(loadDuringShow);
    landscape();
    ending(loadDuringShow);
}
