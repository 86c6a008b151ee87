#include "geometry/surface.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "geometry/uni_surface_mesh.h"
#include "persist/encoding.h"
#include "render/gl_api.h"
#include "render/gl_state_cache.h"
#include "render/texture_image.h"
#include "scene/scene.h"

Surface* Surface::current = nullptr;

namespace {

// Texture units and coordinate arrays on for the units of `mask`, vertex array on.
void set_client_state(unsigned int mask)
{
    GLStateCache& cache = GLStateCache::instance();
    cache.setTextureUnits(mask);
    cache.setTextureCoordArrays(mask);
    cache.setVertexArray(true);
}

bool index_within(int index, size_t count) { return index >= 0 && static_cast<size_t>(index) < count; }

// Indices are stored as packed unsigned values (-1 as 7F 7F 7F 7F 8F).
void io_index(pstream& s, bool write, int& index)
{
    unsigned int stored = static_cast<unsigned int>(index);
    io(s, write, stored);
    index = static_cast<int>(stored);
}

} // namespace

void EndFrame()
{
    if (Surface::current) {
        Surface::current->unapply();
        Surface::current = nullptr;
    }
}

Surface::Surface(const std::string& name, Scene* scene) : name(name), scene(scene) {}

Surface::~Surface()
{
    if (current == this)
        current = nullptr;
}

void Surface::serialize(pstream& s, bool write)
{
    io(s, write, name);
    for (float& component : colour)
        io(s, write, component);
    io(s, write, colour_factor);
    io(s, write, texture_count);
}

void Surface::apply()
{
    if (current && current->kind == kind)
        return;
    if (current)
        current->unapply();
    set_client_state(unit_mask());
    current = this;
}

void Surface::draw(const RenderBucket& bucket)
{
    if (bucket.empty())
        return;
    apply();
    set_client_state(0);
    set_colour();
    begin_sides_and_blending();
    draw_items(bucket);
    end_sides_and_blending();
}

bool Surface::less(const Surface& other) const
{
    if (kind != other.kind)
        return kind < other.kind;
    return name_less(other);
}

bool Surface::name_less(const Surface& other) const
{
    const size_t shorter = std::min(name.size(), other.name.size());
    const int order = std::memcmp(name.data(), other.name.data(), shorter);
    if (order != 0)
        return order < 0;
    return name.size() < other.name.size();
}

void Surface::set_colour() const
{
    const float r = colour[0] * colour_factor, g = colour[1] * colour_factor, b = colour[2] * colour_factor;
    if (transparent())
        glColor4f(r, g, b, opacity);
    else
        glColor3f(r, g, b);
}

// A transparent surface leaves the depth buffer to what lies behind it, so
// whatever is drawn after it is not hidden by it.
void Surface::begin_sides_and_blending() const
{
    if (double_sided)
        glDisable(GL_CULL_FACE);
    if (transparent()) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
    }
}

void Surface::end_sides_and_blending() const
{
    if (double_sided)
        glEnable(GL_CULL_FACE);
    if (transparent()) {
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
    }
}

void Surface::draw_items(const RenderBucket& bucket)
{
    GLStateCache::instance().setMatrixMode(GL_MODELVIEW);
    for (const RenderItem& item : bucket) {
        glPushMatrix();
        glMultMatrixf(item.world.data());
        item.element->draw();
        glPopMatrix();
    }
}

unsigned int Surface::texture_name(int index) const
{
    const TextureImage* texture = scene ? scene->texture(index) : nullptr;
    return texture ? texture->texture : 0;
}

TextureSurface::TextureSurface(const std::string& name, Scene* scene, int textureIndex)
    : TextureSurface(Textured, 1)
{
    this->name = name;
    this->scene = scene;
    texture_index = textureIndex;
}

void TextureSurface::serialize(pstream& s, bool write)
{
    Surface::serialize(s, write);
    io(s, write, texture_scale);
    io_index(s, write, modulate_index);
    io_index(s, write, texture_index);
}

void TextureSurface::draw(const RenderBucket& bucket)
{
    if (bucket.empty())
        return;
    apply();
    set_client_state(1);
    GLStateCache::instance().bindTexture(0, texture_name(texture_index));
    set_colour();
    begin_sides_and_blending();
    draw_items(bucket);
    end_sides_and_blending();
}

bool TextureSurface::less(const Surface& other) const
{
    if (kind != other.kind)
        return Surface::less(other);
    const TextureSurface& same = static_cast<const TextureSurface&>(other);
    if (texture_index != same.texture_index)
        return texture_index < same.texture_index;
    return name_less(other);
}

bool TextureSurface::fits_texture_table(size_t count) const
{
    return index_within(texture_index, count) && (modulate_index == -1 || index_within(modulate_index, count));
}

TexDifSurface::TexDifSurface(const std::string& name, Scene* scene, int textureIndex, int detailIndex)
    : TexDifSurface()
{
    this->name = name;
    this->scene = scene;
    texture_index = textureIndex;
    detail_index = detailIndex;
}

void TexDifSurface::serialize(pstream& s, bool write)
{
    TextureSurface::serialize(s, write);
    io(s, write, reserved);
    io_index(s, write, detail_index);
}

unsigned int TexDifSurface::unit_mask() const { return glflags::ARB_multitexture ? 3 : 1; }

void TexDifSurface::draw(const RenderBucket& bucket)
{
    if (!glflags::ARB_multitexture) {
        TextureSurface::draw(bucket);
        return;
    }
    if (bucket.empty())
        return;
    apply();
    GLStateCache& cache = GLStateCache::instance();
    cache.bindTexture(0, texture_name(texture_index));
    cache.bindTexture(1, texture_name(detail_index));
    cache.setMatrixMode(GL_MODELVIEW);
    set_colour();
    begin_sides_and_blending();
    draw_items(bucket);
    end_sides_and_blending();
    if (modulate_index != -1)
        draw_modulate_pass(bucket);
}

// Multiplies what the first pass drew by the modulate texture, scaled.
void TexDifSurface::draw_modulate_pass(const RenderBucket& bucket) const
{
    set_client_state(1);
    GLStateCache& cache = GLStateCache::instance();
    cache.bindTexture(0, texture_name(modulate_index));
    glClientActiveTextureARB(GL_TEXTURE0_ARB);
    // The texture matrix belongs to the active unit, which the mask change
    // above and the meshes' own draws leave elsewhere: scale and restore
    // unit 0's, where the modulate texture is.
    glActiveTextureARB(GL_TEXTURE0_ARB);
    cache.setMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glScalef(texture_scale.x, texture_scale.y, texture_scale.z);
    cache.setMatrixMode(GL_MODELVIEW);
    glEnable(GL_BLEND);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_NOTEQUAL, 1.0f);
    for (const RenderItem& item : bucket) {
        glPushMatrix();
        glMultMatrixf(item.world.data());
        // Only the two-set meshes have 28-byte vertices with a pair at byte 12.
        if (const auto* mesh = dynamic_cast<const UniSurfaceMesh_PointUV2*>(item.element))
            glTexCoordPointer(2, GL_FLOAT, sizeof(VertexPointUV2),
                              reinterpret_cast<const char*>(mesh->vertices.data()) + offsetof(VertexPointUV2, u0));
        item.element->draw();
        glPopMatrix();
    }
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    cache.setMatrixMode(GL_TEXTURE);
    glPopMatrix();
    cache.setMatrixMode(GL_MODELVIEW);
}

bool TexDifSurface::less(const Surface& other) const
{
    if (kind != other.kind)
        return Surface::less(other);
    const TexDifSurface& same = static_cast<const TexDifSurface&>(other);
    if (detail_index != same.detail_index)
        return detail_index < same.detail_index;
    if (texture_index != same.texture_index)
        return texture_index < same.texture_index;
    return name_less(other);
}

bool TexDifSurface::fits_texture_table(size_t count) const
{
    return TextureSurface::fits_texture_table(count) && index_within(detail_index, count);
}
