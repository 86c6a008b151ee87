#pragma once
// The 336 OpenGL 1.1 functions, in the order of the entry-point table
// (alphabetical). X(return type, name, (parameters)).
#define SKYDRIFT_GL_CORE_FUNCTIONS(X) \
    X(void, glAccum, (GLenum op, GLfloat value)) \
    X(void, glAlphaFunc, (GLenum func, GLclampf ref)) \
    X(GLboolean, glAreTexturesResident, (GLsizei n, const GLuint *textures, GLboolean *residences)) \
    X(void, glArrayElement, (GLint i)) \
    X(void, glBegin, (GLenum mode)) \
    X(void, glBindTexture, (GLenum target, GLuint texture)) \
    X(void, glBitmap, (GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove, const GLubyte *bitmap)) \
    X(void, glBlendFunc, (GLenum sfactor, GLenum dfactor)) \
    X(void, glCallList, (GLuint list)) \
    X(void, glCallLists, (GLsizei n, GLenum type, const GLvoid *lists)) \
    X(void, glClear, (GLbitfield mask)) \
    X(void, glClearAccum, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha)) \
    X(void, glClearColor, (GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)) \
    X(void, glClearDepth, (GLclampd depth)) \
    X(void, glClearIndex, (GLfloat c)) \
    X(void, glClearStencil, (GLint s)) \
    X(void, glClipPlane, (GLenum plane, const GLdouble *equation)) \
    X(void, glColor3b, (GLbyte red, GLbyte green, GLbyte blue)) \
    X(void, glColor3bv, (const GLbyte *v)) \
    X(void, glColor3d, (GLdouble red, GLdouble green, GLdouble blue)) \
    X(void, glColor3dv, (const GLdouble *v)) \
    X(void, glColor3f, (GLfloat red, GLfloat green, GLfloat blue)) \
    X(void, glColor3fv, (const GLfloat *v)) \
    X(void, glColor3i, (GLint red, GLint green, GLint blue)) \
    X(void, glColor3iv, (const GLint *v)) \
    X(void, glColor3s, (GLshort red, GLshort green, GLshort blue)) \
    X(void, glColor3sv, (const GLshort *v)) \
    X(void, glColor3ub, (GLubyte red, GLubyte green, GLubyte blue)) \
    X(void, glColor3ubv, (const GLubyte *v)) \
    X(void, glColor3ui, (GLuint red, GLuint green, GLuint blue)) \
    X(void, glColor3uiv, (const GLuint *v)) \
    X(void, glColor3us, (GLushort red, GLushort green, GLushort blue)) \
    X(void, glColor3usv, (const GLushort *v)) \
    X(void, glColor4b, (GLbyte red, GLbyte green, GLbyte blue, GLbyte alpha)) \
    X(void, glColor4bv, (const GLbyte *v)) \
    X(void, glColor4d, (GLdouble red, GLdouble green, GLdouble blue, GLdouble alpha)) \
    X(void, glColor4dv, (const GLdouble *v)) \
    X(void, glColor4f, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha)) \
    X(void, glColor4fv, (const GLfloat *v)) \
    X(void, glColor4i, (GLint red, GLint green, GLint blue, GLint alpha)) \
    X(void, glColor4iv, (const GLint *v)) \
    X(void, glColor4s, (GLshort red, GLshort green, GLshort blue, GLshort alpha)) \
    X(void, glColor4sv, (const GLshort *v)) \
    X(void, glColor4ub, (GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha)) \
    X(void, glColor4ubv, (const GLubyte *v)) \
    X(void, glColor4ui, (GLuint red, GLuint green, GLuint blue, GLuint alpha)) \
    X(void, glColor4uiv, (const GLuint *v)) \
    X(void, glColor4us, (GLushort red, GLushort green, GLushort blue, GLushort alpha)) \
    X(void, glColor4usv, (const GLushort *v)) \
    X(void, glColorMask, (GLboolean red, GLboolean green, GLboolean blue, GLboolean alpha)) \
    X(void, glColorMaterial, (GLenum face, GLenum mode)) \
    X(void, glColorPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid *ptr)) \
    X(void, glCopyPixels, (GLint x, GLint y, GLsizei width, GLsizei height, GLenum type)) \
    X(void, glCopyTexImage1D, (GLenum target, GLint level, GLenum internalformat, GLint x, GLint y, GLsizei width, GLint border)) \
    X(void, glCopyTexImage2D, (GLenum target, GLint level, GLenum internalformat, GLint x, GLint y, GLsizei width, GLsizei height, GLint border)) \
    X(void, glCopyTexSubImage1D, (GLenum target, GLint level, GLint xoffset, GLint x, GLint y, GLsizei width)) \
    X(void, glCopyTexSubImage2D, (GLenum target, GLint level, GLint xoffset, GLint yoffset, GLint x, GLint y, GLsizei width, GLsizei height)) \
    X(void, glCullFace, (GLenum mode)) \
    X(void, glDeleteLists, (GLuint list, GLsizei range)) \
    X(void, glDeleteTextures, (GLsizei n, const GLuint *textures)) \
    X(void, glDepthFunc, (GLenum func)) \
    X(void, glDepthMask, (GLboolean flag)) \
    X(void, glDepthRange, (GLclampd near_val, GLclampd far_val)) \
    X(void, glDisable, (GLenum cap)) \
    X(void, glDisableClientState, (GLenum cap)) \
    X(void, glDrawArrays, (GLenum mode, GLint first, GLsizei count)) \
    X(void, glDrawBuffer, (GLenum mode)) \
    X(void, glDrawElements, (GLenum mode, GLsizei count, GLenum type, const GLvoid *indices)) \
    X(void, glDrawPixels, (GLsizei width, GLsizei height, GLenum format, GLenum type, const GLvoid *pixels)) \
    X(void, glEdgeFlag, (GLboolean flag)) \
    X(void, glEdgeFlagPointer, (GLsizei stride, const GLvoid *ptr)) \
    X(void, glEdgeFlagv, (const GLboolean *flag)) \
    X(void, glEnable, (GLenum cap)) \
    X(void, glEnableClientState, (GLenum cap)) \
    X(void, glEnd, (void)) \
    X(void, glEndList, (void)) \
    X(void, glEvalCoord1d, (GLdouble u)) \
    X(void, glEvalCoord1dv, (const GLdouble *u)) \
    X(void, glEvalCoord1f, (GLfloat u)) \
    X(void, glEvalCoord1fv, (const GLfloat *u)) \
    X(void, glEvalCoord2d, (GLdouble u, GLdouble v)) \
    X(void, glEvalCoord2dv, (const GLdouble *u)) \
    X(void, glEvalCoord2f, (GLfloat u, GLfloat v)) \
    X(void, glEvalCoord2fv, (const GLfloat *u)) \
    X(void, glEvalMesh1, (GLenum mode, GLint i1, GLint i2)) \
    X(void, glEvalMesh2, (GLenum mode, GLint i1, GLint i2, GLint j1, GLint j2)) \
    X(void, glEvalPoint1, (GLint i)) \
    X(void, glEvalPoint2, (GLint i, GLint j)) \
    X(void, glFeedbackBuffer, (GLsizei size, GLenum type, GLfloat *buffer)) \
    X(void, glFinish, (void)) \
    X(void, glFlush, (void)) \
    X(void, glFogf, (GLenum pname, GLfloat param)) \
    X(void, glFogfv, (GLenum pname, const GLfloat *params)) \
    X(void, glFogi, (GLenum pname, GLint param)) \
    X(void, glFogiv, (GLenum pname, const GLint *params)) \
    X(void, glFrontFace, (GLenum mode)) \
    X(void, glFrustum, (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val, GLdouble far_val)) \
    X(GLuint, glGenLists, (GLsizei range)) \
    X(void, glGenTextures, (GLsizei n, GLuint *textures)) \
    X(void, glGetBooleanv, (GLenum pname, GLboolean *params)) \
    X(void, glGetClipPlane, (GLenum plane, GLdouble *equation)) \
    X(void, glGetDoublev, (GLenum pname, GLdouble *params)) \
    X(GLenum, glGetError, (void)) \
    X(void, glGetFloatv, (GLenum pname, GLfloat *params)) \
    X(void, glGetIntegerv, (GLenum pname, GLint *params)) \
    X(void, glGetLightfv, (GLenum light, GLenum pname, GLfloat *params)) \
    X(void, glGetLightiv, (GLenum light, GLenum pname, GLint *params)) \
    X(void, glGetMapdv, (GLenum target, GLenum query, GLdouble *v)) \
    X(void, glGetMapfv, (GLenum target, GLenum query, GLfloat *v)) \
    X(void, glGetMapiv, (GLenum target, GLenum query, GLint *v)) \
    X(void, glGetMaterialfv, (GLenum face, GLenum pname, GLfloat *params)) \
    X(void, glGetMaterialiv, (GLenum face, GLenum pname, GLint *params)) \
    X(void, glGetPixelMapfv, (GLenum map, GLfloat *values)) \
    X(void, glGetPixelMapuiv, (GLenum map, GLuint *values)) \
    X(void, glGetPixelMapusv, (GLenum map, GLushort *values)) \
    X(void, glGetPointerv, (GLenum pname, GLvoid **params)) \
    X(void, glGetPolygonStipple, (GLubyte *mask)) \
    X(const GLubyte *, glGetString, (GLenum name)) \
    X(void, glGetTexEnvfv, (GLenum target, GLenum pname, GLfloat *params)) \
    X(void, glGetTexEnviv, (GLenum target, GLenum pname, GLint *params)) \
    X(void, glGetTexGendv, (GLenum coord, GLenum pname, GLdouble *params)) \
    X(void, glGetTexGenfv, (GLenum coord, GLenum pname, GLfloat *params)) \
    X(void, glGetTexGeniv, (GLenum coord, GLenum pname, GLint *params)) \
    X(void, glGetTexImage, (GLenum target, GLint level, GLenum format, GLenum type, GLvoid *pixels)) \
    X(void, glGetTexLevelParameterfv, (GLenum target, GLint level, GLenum pname, GLfloat *params)) \
    X(void, glGetTexLevelParameteriv, (GLenum target, GLint level, GLenum pname, GLint *params)) \
    X(void, glGetTexParameterfv, (GLenum target, GLenum pname, GLfloat *params)) \
    X(void, glGetTexParameteriv, (GLenum target, GLenum pname, GLint *params)) \
    X(void, glHint, (GLenum target, GLenum mode)) \
    X(void, glIndexMask, (GLuint mask)) \
    X(void, glIndexPointer, (GLenum type, GLsizei stride, const GLvoid *ptr)) \
    X(void, glIndexd, (GLdouble c)) \
    X(void, glIndexdv, (const GLdouble *c)) \
    X(void, glIndexf, (GLfloat c)) \
    X(void, glIndexfv, (const GLfloat *c)) \
    X(void, glIndexi, (GLint c)) \
    X(void, glIndexiv, (const GLint *c)) \
    X(void, glIndexs, (GLshort c)) \
    X(void, glIndexsv, (const GLshort *c)) \
    X(void, glIndexub, (GLubyte c)) \
    X(void, glIndexubv, (const GLubyte *c)) \
    X(void, glInitNames, (void)) \
    X(void, glInterleavedArrays, (GLenum format, GLsizei stride, const GLvoid *pointer)) \
    X(GLboolean, glIsEnabled, (GLenum cap)) \
    X(GLboolean, glIsList, (GLuint list)) \
    X(GLboolean, glIsTexture, (GLuint texture)) \
    X(void, glLightModelf, (GLenum pname, GLfloat param)) \
    X(void, glLightModelfv, (GLenum pname, const GLfloat *params)) \
    X(void, glLightModeli, (GLenum pname, GLint param)) \
    X(void, glLightModeliv, (GLenum pname, const GLint *params)) \
    X(void, glLightf, (GLenum light, GLenum pname, GLfloat param)) \
    X(void, glLightfv, (GLenum light, GLenum pname, const GLfloat *params)) \
    X(void, glLighti, (GLenum light, GLenum pname, GLint param)) \
    X(void, glLightiv, (GLenum light, GLenum pname, const GLint *params)) \
    X(void, glLineStipple, (GLint factor, GLushort pattern)) \
    X(void, glLineWidth, (GLfloat width)) \
    X(void, glListBase, (GLuint base)) \
    X(void, glLoadIdentity, (void)) \
    X(void, glLoadMatrixd, (const GLdouble *m)) \
    X(void, glLoadMatrixf, (const GLfloat *m)) \
    X(void, glLoadName, (GLuint name)) \
    X(void, glLogicOp, (GLenum opcode)) \
    X(void, glMap1d, (GLenum target, GLdouble u1, GLdouble u2, GLint stride, GLint order, const GLdouble *points)) \
    X(void, glMap1f, (GLenum target, GLfloat u1, GLfloat u2, GLint stride, GLint order, const GLfloat *points)) \
    X(void, glMap2d, (GLenum target, GLdouble u1, GLdouble u2, GLint ustride, GLint uorder, GLdouble v1, GLdouble v2, GLint vstride, GLint vorder, const GLdouble *points)) \
    X(void, glMap2f, (GLenum target, GLfloat u1, GLfloat u2, GLint ustride, GLint uorder, GLfloat v1, GLfloat v2, GLint vstride, GLint vorder, const GLfloat *points)) \
    X(void, glMapGrid1d, (GLint un, GLdouble u1, GLdouble u2)) \
    X(void, glMapGrid1f, (GLint un, GLfloat u1, GLfloat u2)) \
    X(void, glMapGrid2d, (GLint un, GLdouble u1, GLdouble u2, GLint vn, GLdouble v1, GLdouble v2)) \
    X(void, glMapGrid2f, (GLint un, GLfloat u1, GLfloat u2, GLint vn, GLfloat v1, GLfloat v2)) \
    X(void, glMaterialf, (GLenum face, GLenum pname, GLfloat param)) \
    X(void, glMaterialfv, (GLenum face, GLenum pname, const GLfloat *params)) \
    X(void, glMateriali, (GLenum face, GLenum pname, GLint param)) \
    X(void, glMaterialiv, (GLenum face, GLenum pname, const GLint *params)) \
    X(void, glMatrixMode, (GLenum mode)) \
    X(void, glMultMatrixd, (const GLdouble *m)) \
    X(void, glMultMatrixf, (const GLfloat *m)) \
    X(void, glNewList, (GLuint list, GLenum mode)) \
    X(void, glNormal3b, (GLbyte nx, GLbyte ny, GLbyte nz)) \
    X(void, glNormal3bv, (const GLbyte *v)) \
    X(void, glNormal3d, (GLdouble nx, GLdouble ny, GLdouble nz)) \
    X(void, glNormal3dv, (const GLdouble *v)) \
    X(void, glNormal3f, (GLfloat nx, GLfloat ny, GLfloat nz)) \
    X(void, glNormal3fv, (const GLfloat *v)) \
    X(void, glNormal3i, (GLint nx, GLint ny, GLint nz)) \
    X(void, glNormal3iv, (const GLint *v)) \
    X(void, glNormal3s, (GLshort nx, GLshort ny, GLshort nz)) \
    X(void, glNormal3sv, (const GLshort *v)) \
    X(void, glNormalPointer, (GLenum type, GLsizei stride, const GLvoid *ptr)) \
    X(void, glOrtho, (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val, GLdouble far_val)) \
    X(void, glPassThrough, (GLfloat token)) \
    X(void, glPixelMapfv, (GLenum map, GLsizei mapsize, const GLfloat *values)) \
    X(void, glPixelMapuiv, (GLenum map, GLsizei mapsize, const GLuint *values)) \
    X(void, glPixelMapusv, (GLenum map, GLsizei mapsize, const GLushort *values)) \
    X(void, glPixelStoref, (GLenum pname, GLfloat param)) \
    X(void, glPixelStorei, (GLenum pname, GLint param)) \
    X(void, glPixelTransferf, (GLenum pname, GLfloat param)) \
    X(void, glPixelTransferi, (GLenum pname, GLint param)) \
    X(void, glPixelZoom, (GLfloat xfactor, GLfloat yfactor)) \
    X(void, glPointSize, (GLfloat size)) \
    X(void, glPolygonMode, (GLenum face, GLenum mode)) \
    X(void, glPolygonOffset, (GLfloat factor, GLfloat units)) \
    X(void, glPolygonStipple, (const GLubyte *mask)) \
    X(void, glPopAttrib, (void)) \
    X(void, glPopClientAttrib, (void)) \
    X(void, glPopMatrix, (void)) \
    X(void, glPopName, (void)) \
    X(void, glPrioritizeTextures, (GLsizei n, const GLuint *textures, const GLclampf *priorities)) \
    X(void, glPushAttrib, (GLbitfield mask)) \
    X(void, glPushClientAttrib, (GLbitfield mask)) \
    X(void, glPushMatrix, (void)) \
    X(void, glPushName, (GLuint name)) \
    X(void, glRasterPos2d, (GLdouble x, GLdouble y)) \
    X(void, glRasterPos2dv, (const GLdouble *v)) \
    X(void, glRasterPos2f, (GLfloat x, GLfloat y)) \
    X(void, glRasterPos2fv, (const GLfloat *v)) \
    X(void, glRasterPos2i, (GLint x, GLint y)) \
    X(void, glRasterPos2iv, (const GLint *v)) \
    X(void, glRasterPos2s, (GLshort x, GLshort y)) \
    X(void, glRasterPos2sv, (const GLshort *v)) \
    X(void, glRasterPos3d, (GLdouble x, GLdouble y, GLdouble z)) \
    X(void, glRasterPos3dv, (const GLdouble *v)) \
    X(void, glRasterPos3f, (GLfloat x, GLfloat y, GLfloat z)) \
    X(void, glRasterPos3fv, (const GLfloat *v)) \
    X(void, glRasterPos3i, (GLint x, GLint y, GLint z)) \
    X(void, glRasterPos3iv, (const GLint *v)) \
    X(void, glRasterPos3s, (GLshort x, GLshort y, GLshort z)) \
    X(void, glRasterPos3sv, (const GLshort *v)) \
    X(void, glRasterPos4d, (GLdouble x, GLdouble y, GLdouble z, GLdouble w)) \
    X(void, glRasterPos4dv, (const GLdouble *v)) \
    X(void, glRasterPos4f, (GLfloat x, GLfloat y, GLfloat z, GLfloat w)) \
    X(void, glRasterPos4fv, (const GLfloat *v)) \
    X(void, glRasterPos4i, (GLint x, GLint y, GLint z, GLint w)) \
    X(void, glRasterPos4iv, (const GLint *v)) \
    X(void, glRasterPos4s, (GLshort x, GLshort y, GLshort z, GLshort w)) \
    X(void, glRasterPos4sv, (const GLshort *v)) \
    X(void, glReadBuffer, (GLenum mode)) \
    X(void, glReadPixels, (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid *pixels)) \
    X(void, glRectd, (GLdouble x1, GLdouble y1, GLdouble x2, GLdouble y2)) \
    X(void, glRectdv, (const GLdouble *v1, const GLdouble *v2)) \
    X(void, glRectf, (GLfloat x1, GLfloat y1, GLfloat x2, GLfloat y2)) \
    X(void, glRectfv, (const GLfloat *v1, const GLfloat *v2)) \
    X(void, glRecti, (GLint x1, GLint y1, GLint x2, GLint y2)) \
    X(void, glRectiv, (const GLint *v1, const GLint *v2)) \
    X(void, glRects, (GLshort x1, GLshort y1, GLshort x2, GLshort y2)) \
    X(void, glRectsv, (const GLshort *v1, const GLshort *v2)) \
    X(GLint, glRenderMode, (GLenum mode)) \
    X(void, glRotated, (GLdouble angle, GLdouble x, GLdouble y, GLdouble z)) \
    X(void, glRotatef, (GLfloat angle, GLfloat x, GLfloat y, GLfloat z)) \
    X(void, glScaled, (GLdouble x, GLdouble y, GLdouble z)) \
    X(void, glScalef, (GLfloat x, GLfloat y, GLfloat z)) \
    X(void, glScissor, (GLint x, GLint y, GLsizei width, GLsizei height)) \
    X(void, glSelectBuffer, (GLsizei size, GLuint *buffer)) \
    X(void, glShadeModel, (GLenum mode)) \
    X(void, glStencilFunc, (GLenum func, GLint ref, GLuint mask)) \
    X(void, glStencilMask, (GLuint mask)) \
    X(void, glStencilOp, (GLenum fail, GLenum zfail, GLenum zpass)) \
    X(void, glTexCoord1d, (GLdouble s)) \
    X(void, glTexCoord1dv, (const GLdouble *v)) \
    X(void, glTexCoord1f, (GLfloat s)) \
    X(void, glTexCoord1fv, (const GLfloat *v)) \
    X(void, glTexCoord1i, (GLint s)) \
    X(void, glTexCoord1iv, (const GLint *v)) \
    X(void, glTexCoord1s, (GLshort s)) \
    X(void, glTexCoord1sv, (const GLshort *v)) \
    X(void, glTexCoord2d, (GLdouble s, GLdouble t)) \
    X(void, glTexCoord2dv, (const GLdouble *v)) \
    X(void, glTexCoord2f, (GLfloat s, GLfloat t)) \
    X(void, glTexCoord2fv, (const GLfloat *v)) \
    X(void, glTexCoord2i, (GLint s, GLint t)) \
    X(void, glTexCoord2iv, (const GLint *v)) \
    X(void, glTexCoord2s, (GLshort s, GLshort t)) \
    X(void, glTexCoord2sv, (const GLshort *v)) \
    X(void, glTexCoord3d, (GLdouble s, GLdouble t, GLdouble r)) \
    X(void, glTexCoord3dv, (const GLdouble *v)) \
    X(void, glTexCoord3f, (GLfloat s, GLfloat t, GLfloat r)) \
    X(void, glTexCoord3fv, (const GLfloat *v)) \
    X(void, glTexCoord3i, (GLint s, GLint t, GLint r)) \
    X(void, glTexCoord3iv, (const GLint *v)) \
    X(void, glTexCoord3s, (GLshort s, GLshort t, GLshort r)) \
    X(void, glTexCoord3sv, (const GLshort *v)) \
    X(void, glTexCoord4d, (GLdouble s, GLdouble t, GLdouble r, GLdouble q)) \
    X(void, glTexCoord4dv, (const GLdouble *v)) \
    X(void, glTexCoord4f, (GLfloat s, GLfloat t, GLfloat r, GLfloat q)) \
    X(void, glTexCoord4fv, (const GLfloat *v)) \
    X(void, glTexCoord4i, (GLint s, GLint t, GLint r, GLint q)) \
    X(void, glTexCoord4iv, (const GLint *v)) \
    X(void, glTexCoord4s, (GLshort s, GLshort t, GLshort r, GLshort q)) \
    X(void, glTexCoord4sv, (const GLshort *v)) \
    X(void, glTexCoordPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid *ptr)) \
    X(void, glTexEnvf, (GLenum target, GLenum pname, GLfloat param)) \
    X(void, glTexEnvfv, (GLenum target, GLenum pname, const GLfloat *params)) \
    X(void, glTexEnvi, (GLenum target, GLenum pname, GLint param)) \
    X(void, glTexEnviv, (GLenum target, GLenum pname, const GLint *params)) \
    X(void, glTexGend, (GLenum coord, GLenum pname, GLdouble param)) \
    X(void, glTexGendv, (GLenum coord, GLenum pname, const GLdouble *params)) \
    X(void, glTexGenf, (GLenum coord, GLenum pname, GLfloat param)) \
    X(void, glTexGenfv, (GLenum coord, GLenum pname, const GLfloat *params)) \
    X(void, glTexGeni, (GLenum coord, GLenum pname, GLint param)) \
    X(void, glTexGeniv, (GLenum coord, GLenum pname, const GLint *params)) \
    X(void, glTexImage1D, (GLenum target, GLint level, GLint internalFormat, GLsizei width, GLint border, GLenum format, GLenum type, const GLvoid *pixels)) \
    X(void, glTexImage2D, (GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type, const GLvoid *pixels)) \
    X(void, glTexParameterf, (GLenum target, GLenum pname, GLfloat param)) \
    X(void, glTexParameterfv, (GLenum target, GLenum pname, const GLfloat *params)) \
    X(void, glTexParameteri, (GLenum target, GLenum pname, GLint param)) \
    X(void, glTexParameteriv, (GLenum target, GLenum pname, const GLint *params)) \
    X(void, glTexSubImage1D, (GLenum target, GLint level, GLint xoffset, GLsizei width, GLenum format, GLenum type, const GLvoid *pixels)) \
    X(void, glTexSubImage2D, (GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width, GLsizei height, GLenum format, GLenum type, const GLvoid *pixels)) \
    X(void, glTranslated, (GLdouble x, GLdouble y, GLdouble z)) \
    X(void, glTranslatef, (GLfloat x, GLfloat y, GLfloat z)) \
    X(void, glVertex2d, (GLdouble x, GLdouble y)) \
    X(void, glVertex2dv, (const GLdouble *v)) \
    X(void, glVertex2f, (GLfloat x, GLfloat y)) \
    X(void, glVertex2fv, (const GLfloat *v)) \
    X(void, glVertex2i, (GLint x, GLint y)) \
    X(void, glVertex2iv, (const GLint *v)) \
    X(void, glVertex2s, (GLshort x, GLshort y)) \
    X(void, glVertex2sv, (const GLshort *v)) \
    X(void, glVertex3d, (GLdouble x, GLdouble y, GLdouble z)) \
    X(void, glVertex3dv, (const GLdouble *v)) \
    X(void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z)) \
    X(void, glVertex3fv, (const GLfloat *v)) \
    X(void, glVertex3i, (GLint x, GLint y, GLint z)) \
    X(void, glVertex3iv, (const GLint *v)) \
    X(void, glVertex3s, (GLshort x, GLshort y, GLshort z)) \
    X(void, glVertex3sv, (const GLshort *v)) \
    X(void, glVertex4d, (GLdouble x, GLdouble y, GLdouble z, GLdouble w)) \
    X(void, glVertex4dv, (const GLdouble *v)) \
    X(void, glVertex4f, (GLfloat x, GLfloat y, GLfloat z, GLfloat w)) \
    X(void, glVertex4fv, (const GLfloat *v)) \
    X(void, glVertex4i, (GLint x, GLint y, GLint z, GLint w)) \
    X(void, glVertex4iv, (const GLint *v)) \
    X(void, glVertex4s, (GLshort x, GLshort y, GLshort z, GLshort w)) \
    X(void, glVertex4sv, (const GLshort *v)) \
    X(void, glVertexPointer, (GLint size, GLenum type, GLsizei stride, const GLvoid *ptr)) \
    X(void, glViewport, (GLint x, GLint y, GLsizei width, GLsizei height)) \

