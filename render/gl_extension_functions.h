#pragma once
// Entry points of the extension groups, in the order of the entry-point table.
// X(group flag, return type, name, (parameters)).

#define SKYDRIFT_GL_EXT_SECONDARY_COLOR(X) \
    X(EXT_secondary_color, void, glSecondaryColor3fEXT, (GLfloat red, GLfloat green, GLfloat blue)) \
    X(EXT_secondary_color, void, glSecondaryColor3fvEXT, (const GLfloat* v)) \
    X(EXT_secondary_color, void, glSecondaryColorPointerEXT, (GLint size, GLenum type, GLsizei stride, const void* pointer))

#define SKYDRIFT_GL_EXT_COMPILED_VERTEX_ARRAY(X) \
    X(EXT_compiled_vertex_array, void, glLockArraysEXT, (GLint first, GLsizei count)) \
    X(EXT_compiled_vertex_array, void, glUnlockArraysEXT, (void))

#define SKYDRIFT_GL_EXT_DRAW_RANGE_ELEMENTS(X) \
    X(EXT_draw_range_elements, void, glDrawRangeElementsEXT, (GLenum mode, GLuint start, GLuint end, GLsizei count, GLenum type, const void* indices))

#define SKYDRIFT_GL_ARB_IMAGING(X) \
    X(ARB_imaging, void, glBlendEquation, (GLenum mode))

#define SKYDRIFT_GL_ARB_MULTITEXTURE(X) \
    X(ARB_multitexture, void, glMultiTexCoord1fARB, (GLenum target, GLfloat s)) \
    X(ARB_multitexture, void, glMultiTexCoord2fARB, (GLenum target, GLfloat s, GLfloat t)) \
    X(ARB_multitexture, void, glMultiTexCoord3fARB, (GLenum target, GLfloat s, GLfloat t, GLfloat r)) \
    X(ARB_multitexture, void, glMultiTexCoord4fARB, (GLenum target, GLfloat s, GLfloat t, GLfloat r, GLfloat q)) \
    X(ARB_multitexture, void, glMultiTexCoord1fvARB, (GLenum target, const GLfloat* v)) \
    X(ARB_multitexture, void, glMultiTexCoord2fvARB, (GLenum target, const GLfloat* v)) \
    X(ARB_multitexture, void, glMultiTexCoord3fvARB, (GLenum target, const GLfloat* v)) \
    X(ARB_multitexture, void, glMultiTexCoord4fvARB, (GLenum target, const GLfloat* v)) \
    X(ARB_multitexture, void, glActiveTextureARB, (GLenum texture)) \
    X(ARB_multitexture, void, glClientActiveTextureARB, (GLenum texture))

#define SKYDRIFT_GL_SWAP(X) \
    X(Swap, int, wglSwapIntervalEXT, (int interval))

#define SKYDRIFT_GL_EXT_POINT_PARAMETERS(X) \
    X(EXT_point_parameters, void, glPointParameterfEXT, (GLenum pname, GLfloat param)) \
    X(EXT_point_parameters, void, glPointParameterfvEXT, (GLenum pname, const GLfloat* params))

#define SKYDRIFT_GL_NV_VERTEX_ARRAY_RANGE(X) \
    X(NV_vertex_array_range, void, glVertexArrayRangeNV, (GLsizei length, const void* pointer)) \
    X(NV_vertex_array_range, void, glFlushVertexArrayRangeNV, (void)) \
    X(NV_vertex_array_range, void*, wglAllocateMemoryNV, (GLsizei size, GLfloat readFrequency, GLfloat writeFrequency, GLfloat priority)) \
    X(NV_vertex_array_range, void, wglFreeMemoryNV, (void* pointer))

#define SKYDRIFT_GL_NV_REGISTER_COMBINERS(X) \
    X(NV_register_combiners, void, glCombinerParameterfvNV, (GLenum pname, const GLfloat* params)) \
    X(NV_register_combiners, void, glCombinerParameterivNV, (GLenum pname, const GLint* params)) \
    X(NV_register_combiners, void, glCombinerParameterfNV, (GLenum pname, GLfloat param)) \
    X(NV_register_combiners, void, glCombinerParameteriNV, (GLenum pname, GLint param)) \
    X(NV_register_combiners, void, glCombinerInputNV, (GLenum stage, GLenum portion, GLenum variable, GLenum input, GLenum mapping, GLenum componentUsage)) \
    X(NV_register_combiners, void, glCombinerOutputNV, (GLenum stage, GLenum portion, GLenum abOutput, GLenum cdOutput, GLenum sumOutput, GLenum scale, GLenum bias, GLboolean abDotProduct, GLboolean cdDotProduct, GLboolean muxSum)) \
    X(NV_register_combiners, void, glFinalCombinerInputNV, (GLenum variable, GLenum input, GLenum mapping, GLenum componentUsage)) \
    X(NV_register_combiners, void, glGetCombinerInputParameterfvNV, (GLenum stage, GLenum portion, GLenum variable, GLenum pname, GLfloat* params)) \
    X(NV_register_combiners, void, glGetCombinerInputParameterivNV, (GLenum stage, GLenum portion, GLenum variable, GLenum pname, GLint* params)) \
    X(NV_register_combiners, void, glGetCombinerOutputParameterfvNV, (GLenum stage, GLenum portion, GLenum pname, GLfloat* params)) \
    X(NV_register_combiners, void, glGetCombinerOutputParameterivNV, (GLenum stage, GLenum portion, GLenum pname, GLint* params)) \
    X(NV_register_combiners, void, glGetFinalCombinerInputParameterfvNV, (GLenum variable, GLenum pname, GLfloat* params)) \
    X(NV_register_combiners, void, glGetFinalCombinerInputParameterivNV, (GLenum variable, GLenum pname, GLint* params))

// Framebuffer objects, for drawing the frame off the window. They are not
// rows of the entry-point table: GL 3.0 and GL_ARB_framebuffer_object offer
// them under these names, GL_EXT_framebuffer_object with
// GL_EXT_framebuffer_blit under the same names ending in "EXT"; either set
// fills these slots.
#define SKYDRIFT_GL_ARB_FRAMEBUFFER_OBJECT(X) \
    X(ARB_framebuffer_object, void, glGenFramebuffers, (GLsizei n, GLuint* framebuffers)) \
    X(ARB_framebuffer_object, void, glDeleteFramebuffers, (GLsizei n, const GLuint* framebuffers)) \
    X(ARB_framebuffer_object, void, glBindFramebuffer, (GLenum target, GLuint framebuffer)) \
    X(ARB_framebuffer_object, GLenum, glCheckFramebufferStatus, (GLenum target)) \
    X(ARB_framebuffer_object, void, glGenRenderbuffers, (GLsizei n, GLuint* renderbuffers)) \
    X(ARB_framebuffer_object, void, glDeleteRenderbuffers, (GLsizei n, const GLuint* renderbuffers)) \
    X(ARB_framebuffer_object, void, glBindRenderbuffer, (GLenum target, GLuint renderbuffer)) \
    X(ARB_framebuffer_object, void, glRenderbufferStorage, (GLenum target, GLenum internalFormat, GLsizei width, GLsizei height)) \
    X(ARB_framebuffer_object, void, glFramebufferRenderbuffer, (GLenum target, GLenum attachment, GLenum renderbufferTarget, GLuint renderbuffer)) \
    X(ARB_framebuffer_object, void, glBlitFramebuffer, (GLint srcX0, GLint srcY0, GLint srcX1, GLint srcY1, GLint dstX0, GLint dstY0, GLint dstX1, GLint dstY1, GLbitfield mask, GLenum filter))

// Multisampled renderbuffers, for an anti-aliased frame: GL 3.0,
// GL_ARB_framebuffer_object or GL_EXT_framebuffer_multisample ("EXT"). A
// frame without them is drawn with one sample.
#define SKYDRIFT_GL_FRAMEBUFFER_MULTISAMPLE(X) \
    X(framebuffer_multisample, void, glRenderbufferStorageMultisample, (GLenum target, GLsizei samples, GLenum internalFormat, GLsizei width, GLsizei height))
