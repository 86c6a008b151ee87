#include "render/mat_lit.h"

#include "render/gl_state_cache.h"

namespace hlv {

void Mat_Lit::render(const Camera*, const MeshPart* part)
{
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);  // parts may be scaled by the layer's matrices

    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    const GLint exponent = static_cast<GLint>(shininess * 128.0f);
    glMaterialiv(GL_FRONT, GL_SHININESS, &exponent);

    if (part->hasNormals()) {
        glNormalPointer(GL_FLOAT, sizeof(Vector3f), part->normals.data());
        glEnableClientState(GL_NORMAL_ARRAY);
    }
    glVertexPointer(3, GL_FLOAT, sizeof(Vector3f), part->positions.data());
    GLStateCache::instance().setVertexArray(true);
    {
        LockedArrays locked(part->vertexCount);
        drawRangedElements(GL_TRIANGLES, part->vertexCount, 3 * part->triangleCount, part->indices.data());
    }
    GLStateCache::instance().setVertexArray(false);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisable(GL_LIGHTING);
}

} // namespace hlv
