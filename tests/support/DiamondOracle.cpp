#include "tests/support/DiamondOracle.h"

#include <GL/gl.h>

void drawDiamondsOneByOne(const ParticleSystem& system, const Vector3& angles) {
    // Per corner: texture s, t, then x, y in units of size.
    const float corners[4][4] = {{0, 0, 0, 1}, {1, 0, -1, 0}, {0, 1, 1, 0}, {1, 1, 0, -1}};
    for (const Particle& particle : system.particles) {
        if (!particle.isLive()) continue;
        glColor4f(particle.color.r, particle.color.g, particle.color.b, particle.alpha);
        glPushMatrix();
        glTranslatef(particle.position.x, particle.position.y, particle.position.z);
        glRotatef(angles.z, 0.0f, 0.0f, 1.0f);
        glRotatef(angles.y, 0.0f, 1.0f, 0.0f);
        glRotatef(angles.x, 1.0f, 0.0f, 0.0f);
        glBegin(GL_TRIANGLE_STRIP);
        for (const float* c : corners) {
            glTexCoord2f(c[0], c[1]);
            glVertex3f(c[2] * particle.size, c[3] * particle.size, 0.0f);
        }
        glEnd();
        glPopMatrix();
    }
}
