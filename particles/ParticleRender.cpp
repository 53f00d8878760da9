// Drawing of the live particles: one textured diamond each, turned by the
// system's camera angles. The caller owns the camera matrix, texture and
// blending; this leaves the matrix stack as it found it.
#include <GL/gl.h>

#include "particles/ParticleSystem.h"

void ParticleSystem::render() const {
    const Vector3& angles = camera.angles;
    for (const Particle& particle : particles) {
        if (!particle.isLive()) continue;
        const float size = particle.size;
        glColor4f(particle.color.r, particle.color.g, particle.color.b, particle.alpha);
        glPushMatrix();
        glTranslatef(particle.position.x, particle.position.y, particle.position.z);
        // z, then y, then x: the order decides how a tilted diamond leans.
        glRotatef(angles.z, 0.0f, 0.0f, 1.0f);
        glRotatef(angles.y, 0.0f, 1.0f, 0.0f);
        glRotatef(angles.x, 1.0f, 0.0f, 0.0f);
        glBegin(GL_TRIANGLE_STRIP);
        glTexCoord2f(0.0f, 0.0f);
        glVertex3f(0.0f, size, 0.0f);
        glTexCoord2f(1.0f, 0.0f);
        glVertex3f(-size, 0.0f, 0.0f);
        glTexCoord2f(0.0f, 1.0f);
        glVertex3f(size, 0.0f, 0.0f);
        glTexCoord2f(1.0f, 1.0f);
        glVertex3f(0.0f, -size, 0.0f);
        glEnd();
        glPopMatrix();
    }
}
