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

    // The first `lights` lights are enabled; fog when it is on.
    void setScene(int lights, bool fog)
    {
        lights_ = lights;
        fog_ = fog;
    }
    // Draws with the program from here on: a picture on texture unit 0
    // and colours per vertex as the material has them.
    void begin(bool textured, bool vertexColours) const;
    void end() const;

private:
    unsigned program_ = 0;
    int lights_ = 0;
    bool fog_ = false;
};

} // namespace hlvtool
