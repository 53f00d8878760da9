// The scene's OpenGL state, texture upload, particle system and frame. The
// texture names end with the rendering context; they are not deleted here.
#include "display/Scene.h"

#include <GL/gl.h>

#include <cmath>

#include "particles/Random.h"

namespace {

// A linear-filtered texture of the image's bytes as stored (a DIB's blue,
// green, red become red, green, blue). No mipmaps: a mipmap filter would
// draw nothing.
unsigned int uploadTexture(const TextureImage& image) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE, image.pixels);
    return name;
}

// Blending, texturing and hints, set once; nothing changes them later.
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
    // A clear honours the scissor box, not the viewport.
    glEnable(GL_SCISSOR_TEST);
}

void applyViewport(const Viewport& area) {
    glViewport(area.x, area.y, area.width, area.height);
    glScissor(area.x, area.y, area.width, area.height);
}

}  // namespace

Scene::Scene(const TextureImage* primary, const TextureImage* secondary, std::uint32_t seed) {
    if (primary == nullptr && secondary == nullptr) {
        throw Exception("Failed to load textures");
    }
    if (primary != nullptr) primaryTexture = uploadTexture(*primary);
    if (secondary != nullptr) secondaryTexture = uploadTexture(*secondary);
    applyFixedState();
    sceneParticleSystem.reset(translateConstructionFailure([] { return new ParticleSystem(); }));

    lumra::srand(seed);
    sceneParticleSystem->applyPreset(lumra::rand() % sceneParticleSystem->getPresetCount());
    // The preset's own camera never takes effect: tilted 20 degrees, above
    // and before the effect.
    sceneParticleSystem->camera.angles = Vector3(20.0f, 0.0f, 0.0f);
    sceneParticleSystem->camera.position = Vector3(0.0f, 55.0f, 120.0f);
}

Scene::~Scene() {
    // A scene can go while the run goes on (its monitor left the desk), so
    // its textures go with it rather than with the context.
    const GLuint names[] = {primaryTexture, secondaryTexture};
    glDeleteTextures(2, names);
}

// The particle system takes its time as a float, whose spacing grows with
// the run: a day in, the steps would come in multiples of 8 ms, and after a
// week the effect would stand still between jumps. So the time it is handed
// counts from a base that moves on by whole periods, and the system's record
// of its previous time moves back by as much: the float stays below two
// periods, its steps the true ones to a few microseconds. A clock that jumps
// (a machine woken from sleep, or a clock set back) moves the base just as
// far, and the system sees the same jump it would have seen.
void Scene::update(double time) {
    constexpr double period = 32.0;  // a power of two: the moves back are exact
    double since = time - clockBase;
    if (std::isfinite(since) && (since >= 2.0 * period || since < 0.0)) {
        const double shift = (std::floor(since / period) - 1.0) * period;
        clockBase += shift;
        since -= shift;
        sceneParticleSystem->lastTime -= static_cast<float>(shift);
    }
    sceneParticleSystem->update(static_cast<float>(since));
}

void Scene::reshape(const Viewport& viewport) {
    area = viewport;
    area.height = usableHeight(viewport.height);
    applyViewport(area);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-frustumHalfWidth, frustumHalfWidth, -frustumHalfHeight, frustumHalfHeight, frustumNear,
              frustumFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void Scene::draw() const {
    prepareFrame();
    sceneParticleSystem->render();
}

void Scene::prepareFrame() const {
    applyViewport(area);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    const Vector3& p = sceneParticleSystem->camera.position;
    glTranslatef(-p.x, -p.y, -p.z);
    glTranslatef(0.0f, 0.0f, -eyeDistance);
    // The secondary texture is bound first so the glow is the one in effect.
    glBindTexture(GL_TEXTURE_2D, secondaryTexture);
    glBindTexture(GL_TEXTURE_2D, primaryTexture);
}
