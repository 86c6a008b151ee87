#pragma once
// The look shared by every mesh part that names it: a colour with a factor,
// and for the textured kinds textures from the owning scene's table. Each
// surface draws its own bucket of the render queue.

#include <string>

#include "geometry/render_queue.h"
#include "math/vector3.h"
#include "persist/persistent.h"

class Scene;

class Surface : public persistent {
public:
    static constexpr const char* kClassName = "class Surface";
    enum Kind { Plain = 1, Textured = 2, TexturedDetail = 3 };

    Surface() = default;
    // White with factor 1.
    Surface(const std::string& name, Scene* scene);
    // A scene released in the middle of a frame takes its surfaces along;
    // the current surface must not outlive them.
    ~Surface() override;

    const char* class_name() const override { return kClassName; }
    void serialize(pstream& stream, bool write) override;

    // Sets the texture-unit and coordinate-array masks of this kind, unless
    // the current surface is of the same kind.
    virtual void apply();
    virtual void unapply() {}
    // Sets this surface's state and draws every item; an empty bucket
    // issues no OpenGL call.
    virtual void draw(const RenderBucket& bucket);
    // By kind, then the kind's texture indices, then name.
    virtual bool less(const Surface& other) const;
    // Whether every texture index names one of `count` textures.
    virtual bool fits_texture_table(size_t count) const { (void)count; return true; }

    // The surface applied last in this frame, or null.
    static Surface* current;

    std::string name;
    int kind = Plain;
    float colour[3] = {1, 1, 1};
    float colour_factor = 1.0f;
    unsigned int texture_count = 0;
    Scene* scene = nullptr;
    // Set only by importers for hlvtool's drawing of their scenes; scene
    // files do not store them, so the show's surfaces keep one side, opaque.
    bool double_sided = false;
    float opacity = 1.0f;
    bool transparent() const { return opacity < 1.0f; }

protected:
    explicit Surface(int kind, unsigned int textureCount) : kind(kind), texture_count(textureCount) {}
    // The texture-unit mask this kind draws with.
    virtual unsigned int unit_mask() const { return 0; }
    bool name_less(const Surface& other) const;
    void set_colour() const;
    // Both sides and blending as the surface asks, around its items' draws.
    void begin_sides_and_blending() const;
    void end_sides_and_blending() const;
    // Each item under its world matrix.
    static void draw_items(const RenderBucket& bucket);
    // The OpenGL name of a scene texture, 0 when there is none.
    unsigned int texture_name(int index) const;
};

class TextureSurface : public Surface {
public:
    static constexpr const char* kClassName = "class TextureSurface";

    TextureSurface() : Surface(Textured, 1) {}
    // Scale (1,1,1), no modulate texture.
    TextureSurface(const std::string& name, Scene* scene, int textureIndex);
    ~TextureSurface() override = default;

    const char* class_name() const override { return kClassName; }
    void serialize(pstream& stream, bool write) override;
    void draw(const RenderBucket& bucket) override;
    bool less(const Surface& other) const override;
    bool fits_texture_table(size_t count) const override;

    int texture_index = 0;
    int modulate_index = -1;  // the second, multiplying pass of TexDifSurface
    Vector3f texture_scale{1, 1, 1};

protected:
    TextureSurface(int kind, unsigned int textureCount) : Surface(kind, textureCount) {}
    unsigned int unit_mask() const override { return 1; }
};

class TexDifSurface : public TextureSurface {
public:
    static constexpr const char* kClassName = "class TexDifSurface";

    TexDifSurface() : TextureSurface(TexturedDetail, 2) {}
    TexDifSurface(const std::string& name, Scene* scene, int textureIndex, int detailIndex);
    ~TexDifSurface() override = default;

    const char* class_name() const override { return kClassName; }
    void serialize(pstream& stream, bool write) override;
    // Without multitexturing it draws as a TextureSurface.
    void draw(const RenderBucket& bucket) override;
    bool less(const Surface& other) const override;
    bool fits_texture_table(size_t count) const override;

    float reserved = 0;  // stored, without effect on drawing
    int detail_index = 0;

protected:
    unsigned int unit_mask() const override;

private:
    void draw_modulate_pass(const RenderBucket& bucket) const;
};

// Run by the main loop after each frame: un-applies the current surface and
// clears it, so the next frame sets its state afresh.
void EndFrame();
