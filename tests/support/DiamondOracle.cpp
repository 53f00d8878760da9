#include "tests/support/DiamondOracle.h"

#include <GL/gl.h>

void drawDiamondsOneByOne(const ParticleSystem& system) {
    const Vector3& angles = system.camera.angles;
    for (const Particle& particle : system.particles) {
        if (!particle.isLive()) continue;
        const float size = particle.size;
        glColor4f(particle.color.r, particle.color.g, particle.color.b, particle.alpha);
        glPushMatrix();
        glTranslatef(particle.position.x, particle.position.y, particle.position.z);
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
