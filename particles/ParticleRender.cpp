// Drawing of the live particles: one textured diamond each, turned by the
// system's camera angles, all of a frame in one call over vertex arrays, so
// that a frame costs a handful of GL calls however many particles live (what
// keeps the saver cheap on software OpenGL: virtual machines, Remote
// Desktop). The caller owns the camera matrix, texture and blending; this
// leaves the matrix stack and the client state as it found them.
#include <GL/gl.h>

#include "particles/ParticleSystem.h"

void ParticleSystem::render() const {
    const int count = diamonds.fill(particles, PoolSize, camera.angles);
    if (count == 0) return;
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, diamonds.position);
    glTexCoordPointer(2, GL_FLOAT, 0, diamonds.texCoord);
    glColorPointer(4, GL_FLOAT, 0, diamonds.color);
    glDrawElements(GL_TRIANGLES, count * 6, GL_UNSIGNED_SHORT, diamonds.index);
    glPopClientAttrib();
}
