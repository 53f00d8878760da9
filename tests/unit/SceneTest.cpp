// The scene drawn by a software GL: how a diamond glows, the viewport, the
// seeding and the failures of construction, and the whole running effect
// against the same particles drawn one diamond at a time.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <tuple>

#include "display/Scene.h"
#include "particles/Random.h"
#include "resources/GlowBitmap.h"
#include "tests/support/DiamondOracle.h"
#include "tests/support/OsMesaContext.h"
#include "tests/support/ProcessState.h"

namespace {

// Where the scene's camera and frustum put a world point in a w x h viewport:
// the eye at (0, 55, 570) looks along -z; the near plane at 4 spans ±4 by ±2.7042250633239746.
std::array<double, 2> windowPoint(const Vector3& p, int w, int h) {
    const double depth = 570.0 - p.z;
    return {(p.x / depth + 1.0) * w / 2.0, ((p.y - 55.0) / depth * 4.0 / 2.7042250633239746 + 1.0) * h / 2.0};
}

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetProcessState();
        scene = std::make_unique<Scene>(&glowImage, nullptr, 1);
        scene->reshape({0, 0, context.width, context.height});
        for (Particle& p : scene->particles().particles) p.age = -1.0f;
    }

    // A live particle in (0.25, 0.5, 0.75); its opacity is not the colour's fourth value.
    void place(int slot, const Vector3& at, float size, float alpha = 1.0f) {
        Particle& p = scene->particles().particles[slot];
        p.age = 0.0f;
        p.position = at;
        p.size = size;
        p.color = Color4{0.25f, 0.5f, 0.75f, 0.125f};
        p.alpha = alpha;
    }

    OsMesaContext context{320, 200};
    const std::vector<std::uint8_t> glowFile = glow::makeGlowBitmapFile();
    const TextureImage glowImage{64, 64, glowFile.data() + glow::fileHeaderBytes + glow::infoHeaderBytes};
    std::unique_ptr<Scene> scene;
};

}  // namespace

// The glow's peak (253 of 255) times the particle's colour is added to black;
// towards a tip the glow fades out, and an overlapping particle adds its light.
TEST_F(SceneTest, AParticleShowsAsAGlowOfItsColourAndOverlapsAdd) {
    const Vector3 at(30, 40, 470);
    place(0, at, 10.0f);
    scene->draw();
    glFinish();
    const std::array<double, 2> centre = windowPoint(at, 320, 200);
    const double a = 20 * M_PI / 180;  // the scene's camera
    const std::array<double, 2> nearTip = windowPoint(at + Vector3(0, 8 * std::cos(a), 8 * std::sin(a)), 320, 200);
    const std::uint8_t* p = context.pixel(static_cast<int>(centre[0]), static_cast<int>(centre[1]));
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(p[c], (c + 1) * 0.25 * 253, 3) << "channel " << c;
    EXPECT_LT(context.pixel(static_cast<int>(nearTip[0]), static_cast<int>(nearTip[1]))[2], 20);
    EXPECT_EQ(context.pixel(2, 2)[2], 0);
    EXPECT_EQ(*std::max_element(glowFile.begin() + 54, glowFile.end()), 253);
    const int single = p[1];
    place(1, at - Vector3(0, 0, 1), 10.0f, 0.5f);  // behind the first and drawn after it
    scene->draw();
    glFinish();
    EXPECT_NEAR(p[1], single * 1.5, 3);
    scene->reshape({30, 20, 640, 0});  // a zero height is drawn one pixel high
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    EXPECT_EQ(viewport, (std::array<GLint, 4>{30, 20, 640, 1}));
}

// The seed starts the generator, and one draw picks the preset. Failures keep
// their text; anything that is no Exception reads "Unknown error".
TEST_F(SceneTest, SeedingAndConstructionFailures) {
    const Scene seeded(&glowImage, nullptr, 12345);
    EXPECT_EQ(lumra::rand(), 19164);  // the rule's second draw from 12345
    const auto failure = [](auto make) -> std::string {
        try {
            translateConstructionFailure(make);
        } catch (const Exception& e) {
            return e.message();
        }
        return "nothing thrown";
    };
    EXPECT_EQ(failure([] { return Scene(nullptr, nullptr, 1); }), "Failed to load textures");
    EXPECT_EQ(failure([]() -> int { throw std::bad_alloc(); }), "Unknown error");
    EXPECT_EQ(failure([]() -> int { throw Exception(nullptr); }), "Unknown error");
}

// The saver's running effect, some slots killed with their light still in
// them and some just born, looks as the same particles drawn one diamond at a
// time through the saver's camera (55 up, 570 back) look, with the scene's
// own angles and others, at preview and full-screen sizes; the drawing leaves
// no client array switched on.
TEST_F(SceneTest, SamePictureAsOneDiamondAtATime) {
    for (const auto& [w, h, seed] : {std::tuple{200, 150, 3u}, {1024, 768, 1u}, {1920, 1080, 8u}}) {
        const OsMesaContext context(w, h);
        Scene scene(&glowImage, nullptr, seed);
        scene.reshape({0, 0, w, h});
        for (int frame = 1; frame <= 150; ++frame) scene.update(frame * 0.05f);
        Particle* pool = scene.particles().particles;
        for (int slot = 0; slot + 1 < ParticleSystem::PoolSize; slot += 7) {
            pool[slot].age = -1.0f;
            pool[slot + 1].age = 0.0f;
        }
        for (const Vector3& angles : {Vector3(20, 0, 0), Vector3(-35, 130, 75)}) {
            scene.draw();
            glFinish();
            const std::vector<std::uint8_t> drawn = context.buffer;
            for (GLenum array : {GL_VERTEX_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_COLOR_ARRAY})
                EXPECT_FALSE(glIsEnabled(array)) << "client array 0x" << std::hex << array << " left switched on";
            scene.prepareFrame();
            glLoadIdentity();
            glTranslatef(0, -55, -570);
            drawDiamondsOneByOne(scene.particles(), angles);
            glFinish();
            std::size_t apart = 0;
            for (std::size_t i = 0; i < drawn.size(); ++i) apart += std::abs(drawn[i] - context.buffer[i]) > 2;
            EXPECT_LE(apart, drawn.size() / 10000) << "bytes more than 2 levels apart at " << w << "x" << h
                                                   << ", angles " << angles.x << " " << angles.y << " " << angles.z;
            scene.particles().camera.angles = Vector3(-35, 130, 75);
        }
    }
}
