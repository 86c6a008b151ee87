#include "tools/hlvtool/pixel_lighting.h"

#include <type_traits>

#include "log/logger.h"
#include "platform/gl_context.h"
#include "render/gl_api.h"

namespace hlvtool {

namespace {

constexpr GLenum kFragmentShader = 0x8B30, kVertexShader = 0x8B31;
constexpr GLenum kCompileStatus = 0x8B81, kLinkStatus = 0x8B82;

// The OpenGL 2.0 entry points the program needs, from the driver.
struct ShaderCalls {
    GLuint (*createShader)(GLenum) = nullptr;
    void (*shaderSource)(GLuint, GLsizei, const char* const*, const GLint*) = nullptr;
    void (*compileShader)(GLuint) = nullptr;
    void (*getShaderiv)(GLuint, GLenum, GLint*) = nullptr;
    GLuint (*createProgram)() = nullptr;
    void (*attachShader)(GLuint, GLuint) = nullptr;
    void (*linkProgram)(GLuint) = nullptr;
    void (*getProgramiv)(GLuint, GLenum, GLint*) = nullptr;
    void (*useProgram)(GLuint) = nullptr;
    GLint (*getUniformLocation)(GLuint, const char*) = nullptr;
    void (*uniform1i)(GLint, GLint) = nullptr;
    void (*uniform2fv)(GLint, GLsizei, const GLfloat*) = nullptr;

    bool load()
    {
        auto get = [](auto& call, const char* name) {
            call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(platform::getProcAddress(name));
            return call != nullptr;
        };
        return get(createShader, "glCreateShader") && get(shaderSource, "glShaderSource") &&
               get(compileShader, "glCompileShader") && get(getShaderiv, "glGetShaderiv") &&
               get(createProgram, "glCreateProgram") && get(attachShader, "glAttachShader") &&
               get(linkProgram, "glLinkProgram") && get(getProgramiv, "glGetProgramiv") &&
               get(useProgram, "glUseProgram") && get(getUniformLocation, "glGetUniformLocation") &&
               get(uniform1i, "glUniform1i") && get(uniform2fv, "glUniform2fv");
    }
};

const ShaderCalls* shaderCalls()
{
    static ShaderCalls calls;
    static const bool loaded = calls.load();
    return loaded ? &calls : nullptr;
}

const char* const kVertexSource = R"(#version 120
varying vec3 eyePosition;
varying vec3 eyeNormal;
void main()
{
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePosition = eye.xyz;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    gl_FrontColor = gl_Color;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FogFragCoord = length(eye.xyz);
    gl_Position = gl_ProjectionMatrix * eye;
}
)";

// Blinn-Phong as fixed-function OpenGL lights a vertex, at each pixel:
// emission, ambient, and each light's diffuse and specular, a spot's fading
// over its soft edge as LightWave's does; the picture modulates, fog mixes
// in by the distance.
const char* const kFragmentSource = R"(#version 120
uniform int lights;
uniform vec2 cones[8];
uniform bool textured;
uniform bool vertexColours;
uniform bool fogged;
uniform sampler2D picture;
varying vec3 eyePosition;
varying vec3 eyeNormal;
void main()
{
    vec3 n = normalize(eyeNormal);
    if (!gl_FrontFacing)
        n = -n;
    vec3 toEye = normalize(-eyePosition);
    vec4 diffuse = gl_FrontMaterial.diffuse;
    vec3 ambient = gl_FrontMaterial.ambient.rgb;
    if (vertexColours) {
        diffuse = vec4(gl_Color.rgb, gl_Color.a * gl_FrontMaterial.diffuse.a);
        ambient = gl_Color.rgb;
    }
    vec3 lit = gl_FrontMaterial.emission.rgb + gl_LightModel.ambient.rgb * ambient;
    vec3 highlight = vec3(0.0);
    for (int i = 0; i < 8; ++i) {
        if (i >= lights)
            break;
        vec4 position = gl_LightSource[i].position;
        vec3 toLight = position.w == 0.0 ? normalize(position.xyz) : normalize(position.xyz - eyePosition);
        float spot = 1.0;
        if (cones[i].x > 0.0) {
            float angle = acos(clamp(dot(-toLight, normalize(gl_LightSource[i].spotDirection)), -1.0, 1.0));
            spot = clamp((cones[i].x - angle) / max(cones[i].y, 1e-4), 0.0, 1.0);
        }
        float facing = max(dot(n, toLight), 0.0);
        lit += spot * facing * gl_LightSource[i].diffuse.rgb * diffuse.rgb;
        if (facing > 0.0)
            highlight += spot * pow(max(dot(n, normalize(toLight + toEye)), 0.0), gl_FrontMaterial.shininess) *
                         gl_LightSource[i].specular.rgb * gl_FrontMaterial.specular.rgb;
    }
    vec4 colour = vec4(lit, diffuse.a);
    if (textured)
        colour *= texture2D(picture, gl_TexCoord[0].st);
    colour.rgb += highlight;
    if (fogged)
        colour.rgb = mix(gl_Fog.color.rgb, colour.rgb, clamp((gl_Fog.end - gl_FogFragCoord) * gl_Fog.scale, 0.0, 1.0));
    gl_FragColor = colour;
}
)";

GLuint compiled(const ShaderCalls& gl, GLenum kind, const char* source)
{
    const GLuint shader = gl.createShader(kind);
    gl.shaderSource(shader, 1, &source, nullptr);
    gl.compileShader(shader);
    GLint ok = 0;
    gl.getShaderiv(shader, kCompileStatus, &ok);
    return ok ? shader : 0;
}

} // namespace

PixelLighting::PixelLighting()
{
    const ShaderCalls* gl = shaderCalls();
    if (!gl)
        return;
    const GLuint vertex = compiled(*gl, kVertexShader, kVertexSource);
    const GLuint fragment = compiled(*gl, kFragmentShader, kFragmentSource);
    if (!vertex || !fragment) {
        hlv::log("\n** Warning: the driver does not take the lighting program; lights work at polygon corners");
        return;
    }
    const GLuint program = gl->createProgram();
    gl->attachShader(program, vertex);
    gl->attachShader(program, fragment);
    gl->linkProgram(program);
    GLint ok = 0;
    gl->getProgramiv(program, kLinkStatus, &ok);
    if (ok)
        program_ = program;
}

void PixelLighting::begin(bool textured, bool vertexColours) const
{
    const ShaderCalls* gl = shaderCalls();
    if (!program_ || !gl)
        return;
    gl->useProgram(program_);
    gl->uniform1i(gl->getUniformLocation(program_, "lights"), lights_);
    gl->uniform2fv(gl->getUniformLocation(program_, "cones"), kMaxLights, &cones_[0].cone);
    gl->uniform1i(gl->getUniformLocation(program_, "textured"), textured);
    gl->uniform1i(gl->getUniformLocation(program_, "vertexColours"), vertexColours);
    gl->uniform1i(gl->getUniformLocation(program_, "fogged"), fog_);
    gl->uniform1i(gl->getUniformLocation(program_, "picture"), 0);
}

void PixelLighting::end() const
{
    if (const ShaderCalls* gl = shaderCalls(); gl && program_)
        gl->useProgram(0);
}

} // namespace hlvtool
