// The scene drawn by a software GL: where diamonds land, how they glow, the
// viewport, the seeding and the failures of construction.
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

// Each diamond is turned by the camera angles, seen through the scene's own
// camera; a viewport of any shape shows the same view, stretched. Texture
// corners (0, 0), (1, 0), (0, 1) and (1, 1) sit at the top, left, right and
// bottom tips, whose offsets, per unit of size, are worked out by hand.
TEST_F(SceneTest, DiamondTipsLandWhereCameraAnglesAndFrustumPutThem) {
    const Vector3 at[2] = {Vector3(-20, 70, 450), Vector3(30, 40, 470)};
    const float size[2] = {8.0f, 6.0f};
    place(2, at[0], size[0]);
    place(5, at[1], size[1]);
    const float c = std::cos(20 * M_PI / 180), s = std::sin(20 * M_PI / 180);
    // The scene's own 20 degrees about x, then 90 about z, y and x, turned about x first.
    const Vector3 tilted[4] = {Vector3(0, c, s), Vector3(-1, 0, 0), Vector3(1, 0, 0), Vector3(0, -c, -s)};
    const Vector3 turned[4] = {Vector3(0, 1, 0), Vector3(0, 0, 1), Vector3(0, 0, -1), Vector3(0, -1, 0)};
    for (const auto& [w, h, tips] : {std::tuple{320, 200, tilted}, std::tuple{80, 150, turned}}) {
        scene->reshape({0, 0, w, h});
        const std::vector<FeedbackVertex> drawn = captureFeedback([&] { scene->draw(); });
        ASSERT_EQ(drawn.size(), 12u);  // two triangles for each live slot, in slot order
        for (int i = 0; i < 12; ++i) {
            EXPECT_TRUE((drawn[i].s == 0 || drawn[i].s == 1) && (drawn[i].t == 0 || drawn[i].t == 1)) << i;
            const Vector3 world = at[i / 6] + tips[static_cast<int>(drawn[i].s + 2 * drawn[i].t)] * size[i / 6];
            EXPECT_NEAR(drawn[i].x, windowPoint(world, w, h)[0], 0.01) << w << " wide, vertex " << i;
            EXPECT_NEAR(drawn[i].y, windowPoint(world, w, h)[1], 0.01) << w << " wide, vertex " << i;
        }
        scene->particles().camera.angles = Vector3(90, 90, 90);
    }
    scene->reshape({30, 20, 640, 0});  // a zero height is drawn one pixel high
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    EXPECT_EQ(viewport, (std::array<GLint, 4>{30, 20, 640, 1}));
}

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
// them and some just born, looks as the same particles drawn one diamond at a time look, with
// the scene's camera angles and others, at preview and full-screen sizes;
// the drawing leaves no client array switched on.
TEST(ParticleDrawing, SamePictureAsOneDiamondAtATime) {
    const std::vector<std::uint8_t> file = glow::makeGlowBitmapFile();
    const TextureImage glowImage{64, 64, file.data() + glow::fileHeaderBytes + glow::infoHeaderBytes};
    for (const auto& [w, h, seed] : {std::tuple{200, 150, 3u}, {1024, 768, 1u}, {1920, 1080, 8u}}) {
        resetProcessState();
        const OsMesaContext context(w, h);
        Scene scene(&glowImage, nullptr, seed);
        scene.reshape({0, 0, w, h});
        for (int frame = 1; frame <= 150; ++frame) scene.update(frame * 0.05f);
        for (int slot = 0; slot + 1 < ParticleSystem::PoolSize; slot += 7) {
            scene.particles().particles[slot].age = -1.0f;
            scene.particles().particles[slot + 1].age = 0.0f;
        }
        for (const Vector3& angles : {Vector3(20, 0, 0), Vector3(-35, 130, 75)}) {
            scene.particles().camera.angles = angles;
            scene.draw();
            glFinish();
            const std::vector<std::uint8_t> drawn = context.buffer;
            for (GLenum array : {GL_VERTEX_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_COLOR_ARRAY}) EXPECT_FALSE(glIsEnabled(array));
            scene.prepareFrame();
            drawDiamondsOneByOne(scene.particles());
            glFinish();
            std::size_t apart = 0;
            for (std::size_t i = 0; i < drawn.size(); ++i) apart += std::abs(drawn[i] - context.buffer[i]) > 2;
            EXPECT_LE(apart, drawn.size() / 10000) << w << "x" << h << ", angle about x " << angles.x;
        }
    }
}
