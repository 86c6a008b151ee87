#pragma once
// Lighting worked out at every pixel, as LightWave renders it, from the
// fixed-function state the materials set (lights, material, fog): OpenGL's
// own lighting works at the corners only, so that a spot light's cone on a
// large polygon, whose corners lie outside it, would not be seen at all.

namespace hlvtool {

class PixelLighting {
public:
    // Compiles the program in the current context; usable() says whether
    // the driver took it (GLSL 1.20).
    PixelLighting();
    bool usable() const { return program_ != 0; }

    // LightWave's spot light: full inside `cone - edge` from its axis,
    // fading to nothing at `cone` (radians). Other lights have no cone.
    struct Cone {
        float cone = 0, edge = 0;
    };
    static constexpr int kMaxLights = 8;

    // The first `lights` lights are enabled, each with its cone; fog when it
    // is on.
    void setScene(int lights, const Cone* cones, bool fog)
    {
        lights_ = lights;
        for (int i = 0; i < kMaxLights; ++i)
            cones_[i] = i < lights ? cones[i] : Cone();
        fog_ = fog;
    }
    // Draws with the program from here on: a picture on texture unit 0
    // and colours per vertex as the material has them.
    void begin(bool textured, bool vertexColours) const;
    void end() const;

private:
    unsigned program_ = 0;
    int lights_ = 0;
    Cone cones_[kMaxLights];
    bool fog_ = false;
};

} // namespace hlvtool
