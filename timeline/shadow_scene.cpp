#include "timeline/shadow_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "geometry/robust_mesh.h"
#include "resources/mesh_manager.h"

namespace hlv {

namespace {

// The show's random layout was drawn from a 15-bit rand (0..32767); the C
// library here may give larger values, so only the low 15 bits are used.
float rand15()
{
    return float(std::rand() & 0x7FFF);
}

std::unique_ptr<ShadowCaster> preparedCaster(RobustMesh* mesh)
{
    auto caster = std::make_unique<ShadowCaster>(mesh);
    caster->prepare();
    return caster;
}

} // namespace

std::unique_ptr<ShadowScene> ShadowScene::create(const std::string& receiverName,
                                                 const std::vector<std::string>& casterNames,
                                                 const std::vector<Material*>& materialPool)
{
    RobustMesh* receiver = meshManager.find(receiverName.c_str());
    if (!receiver)
        return nullptr;
    std::vector<RobustMesh*> casterMeshes;
    for (const std::string& name : casterNames) {
        RobustMesh* mesh = meshManager.find(name.c_str());
        if (!mesh)
            return nullptr;
        casterMeshes.push_back(mesh);
    }

    std::unique_ptr<ShadowScene> scene(new ShadowScene);
    scene->receiverName_ = receiverName;
    scene->casterNames_ = casterNames;
    scene->receiver = receiver;
    scene->receiverCaster = preparedCaster(receiver);
    scene->casterMeshes = casterMeshes;
    for (RobustMesh* mesh : casterMeshes)
        scene->casters.push_back(preparedCaster(mesh));

    // The draws keep their order (and count) whatever the lists hold, so
    // that one seed always gives one layout.
    for (FlyingObject& object : scene->objects) {
        const int casterDraw = int(rand15()), materialDraw = int(rand15());
        object.caster = casterMeshes.empty() ? 0 : uint32_t(casterDraw) % uint32_t(casterMeshes.size());
        object.material = materialPool.empty() ? nullptr : materialPool[size_t(materialDraw) % materialPool.size()];
        object.spinAxis.x = rand15() / 32767.0f;
        object.spinAxis.y = rand15() / 32767.0f;
        object.spinAxis.z = rand15() / 32767.0f;
        object.spinSpeed = (rand15() / 32767.0f - 0.5f) * 10.0f + 30.0f;
    }
    scene->keyEnvelopes();
    return scene;
}

void ShadowScene::keyEnvelopes()
{
    receiverAngles[0].addKey(0, 10).addKey(5, -10).addKey(10, 10);
    receiverAngles[1].addKey(0, 10).addKey(2, -10).addKey(6, 190).addKey(8, 170).addKey(10, 370);
    receiverAngles[2].addKey(0, 10).addKey(5, -10).addKey(10, 10);
    ringHeights[0].addKey(0, -0.1f, 1).addKey(4, 0.2f).addKey(8, -0.1f, 1);
    ringHeights[1].addKey(0, 0.2f, 1).addKey(4, -0.1f).addKey(8, 0.2f, 1);
    ringRadii[0].addKey(0, 1.4f, 1).addKey(2, 1.6f).addKey(4, 1.4f).addKey(6, 1.2f).addKey(8, 1.4f, 1);
    ringRadii[1].addKey(0, 1.4f, 1).addKey(2, 1.2f).addKey(4, 1.4f).addKey(6, 1.6f).addKey(8, 1.4f, 1);
    // Ring 2 keeps no keys: its objects spin at the centre.
    for (int i = 0; i < 3; ++i) {
        receiverAngles[i].setRepeat();
        ringHeights[i].setRepeat();
        ringRadii[i].setRepeat();
    }
}

bool ShadowScene::meshesHeld() const
{
    if (meshManager.find(receiverName_.c_str()) != receiver)
        return false;
    for (size_t i = 0; i < casterNames_.size(); ++i)
        if (meshManager.find(casterNames_[i].c_str()) != casterMeshes[i])
            return false;
    return true;
}

void ShadowScene::animate(float t)
{
    for (int i = 0; i < 3; ++i)
        currentAngles[i] = receiverAngles[i].evaluate(t);
    const float a = currentAngles[0], b = currentAngles[1], c = currentAngles[2];
    receiverMatrix = Matrix44::rotationX(a) * Matrix44::rotationY(b) * Matrix44::rotationZ(c);
    receiverInverse = Matrix44::rotationZ(-c) * Matrix44::rotationY(-b) * Matrix44::rotationX(-a);

    const Vector3f orbitAxis(0.2f, 0.9f, 0.0f);
    const float pi = 3.14159265f;
    for (int ring = 0; ring < 3; ++ring) {
        const float h = ringHeights[ring].evaluate(t), r = ringRadii[ring].evaluate(t);
        for (int k = 0; k < kRingSize; ++k) {
            FlyingObject& object = objects[kRingSize * ring + k];
            const float phi = -k * pi / 8;
            const float x = r * std::cos(phi), z = r * std::sin(phi);
            const float spin = object.spinSpeed * t;
            object.matrix = Matrix44::rotationAxis(15 * t, orbitAxis) * Matrix44::translation(x, h, z) *
                            Matrix44::rotationAxis(spin, object.spinAxis) * Matrix44::scale(0.1f, 0.1f, 0.1f);
            object.inverse = Matrix44::scale(10, 10, 10) * Matrix44::rotationAxis(-spin, object.spinAxis) *
                             Matrix44::translation(-x, -h, -z) * Matrix44::rotationAxis(-15 * t, orbitAxis);
        }
    }
}

int ShadowScene::visibleCount(float t)
{
    const int count = static_cast<int>((t - 4.0f) * 2.5f);
    return std::clamp(count, 0, kObjectCount);
}

} // namespace hlv
