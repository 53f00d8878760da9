// The scene's fixed OpenGL state, projection, texture upload and frame.
#include "display/SceneGL.h"

#include <GL/gl.h>

#include "particles/ParticleSystem.h"

namespace SceneGL {

void applyFixedState() {
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    // Additive blending with no depth test: the order particles are drawn in
    // does not change the picture.
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_FASTEST);
}

std::int32_t usableHeight(std::int32_t height) { return height == 0 ? 1 : height; }

void applyProjection(std::int32_t width, std::int32_t height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-frustumHalfWidth, frustumHalfWidth, -frustumHalfHeight, frustumHalfHeight,
              frustumNear, frustumFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

unsigned int uploadTexture(std::int32_t width, std::int32_t height, const void* pixels) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    return name;
}

void drawFrame(const ParticleSystem& system, unsigned int primaryTexture,
               unsigned int secondaryTexture) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    const Vector3& p = system.camera.position;
    glTranslatef(-p.x, -p.y, -p.z);
    glTranslatef(0.0f, 0.0f, -eyeDistance);
    // The secondary texture is bound first so the glow is the one in effect.
    glBindTexture(GL_TEXTURE_2D, secondaryTexture);
    glBindTexture(GL_TEXTURE_2D, primaryTexture);
    system.render();
}

}  // namespace SceneGL
