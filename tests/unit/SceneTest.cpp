#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

#include "display/Scene.h"
#include "tests/support/MemoryStore.h"
#include "tests/support/OsMesaContext.h"
#include "tests/support/ProcessState.h"
#include "tools/generators/GlowBitmap.h"

namespace {

struct WindowPoint {
    double x;
    double y;
};

// Where the scene's camera and frustum put a world point in a viewport of
// width x height: the eye sits at (0, 55, 570) looking along -z, and the
// near plane (at 4) spans +-4 by +-2.7042250633239746.
WindowPoint expectedWindowPoint(double x, double y, double z, int width, int height) {
    const double ex = x - 0.0;
    const double ey = y - 55.0;
    const double ez = z - 120.0 - 450.0;
    const double nx = (4.0 * ex / -ez) / 4.0;
    const double ny = (4.0 * ey / -ez) / 2.7042250633239746;
    return {(nx + 1.0) * width / 2.0, (ny + 1.0) * height / 2.0};
}

class SceneTest : public ::testing::Test {
protected:
    static constexpr int width = 320;
    static constexpr int height = 200;

    OsMesaContext context{width, height};
    MemoryStore store;
    SaverSettings settings{store};
    std::vector<std::uint8_t> glowFile = glow::makeGlowBitmapFile();
    TextureImage glowImage{64, 64, glowFile.data() + glow::fileHeaderBytes + glow::infoHeaderBytes};
    std::unique_ptr<Scene> scene;

    void SetUp() override {
        ASSERT_TRUE(context.isCurrent());
        resetProcessState();
        RunMode = Mode::Saver;
        globalSettings = &settings;
    }
    void TearDown() override { resetProcessState(); }

    // Loads the settings the way the entry point does, then builds the scene.
    void start(std::uint32_t seed = 1) {
        settings.loadSystemValues();
        settings.load();
        scene = std::make_unique<Scene>(&glowImage, nullptr, seed);
        scene->reshape(0, 0, width, height);
    }

    // A live particle in the preset's blue-cyan at a world position.
    Particle& place(int slot, float x, float y, float z, float size) {
        Particle& particle = scene->particles().particles[slot];
        particle.age = 0.0f;
        particle.lifetime = 7.15f;
        particle.position = Vector3(x, y, z);
        particle.color = Color4{0.0f, 0.6f, 0.9f, 1.0f};
        particle.alpha = 1.0f;
        particle.size = size;
        return particle;
    }
    void killAll() {
        for (Particle& particle : scene->particles().particles) particle.age = -1.0f;
    }

    // The drawn diamond's corners in window coordinates, by texture corner.
    std::vector<FeedbackVertex> corners() {
        const FeedbackCapture capture = captureFeedback([this] { scene->draw(); });
        EXPECT_FALSE(capture.overflowed);
        return capture.polygonVertices();
    }
};

const FeedbackVertex* findCorner(const std::vector<FeedbackVertex>& vertices, float s, float t) {
    for (const FeedbackVertex& v : vertices) if (v.s == s && v.t == t) return &v;
    return nullptr;
}

// The scene's camera tilts every diamond 20 degrees about x, moving its top
// corner in depth. The view volume is the same in a viewport of any size and
// shape, only stretched.
TEST_F(SceneTest, CornersLandWhereCameraAndFrustumPutThemAtAnyWindowSize) {
    start();
    killAll();
    place(0, 60.0f, 80.0f, 170.0f, 40.0f);
    const double tilt = 20.0 * M_PI / 180.0;
    const struct { float s, t; double x, y, z; } expected[] = {
        {0, 0, 60.0, 80.0 + 40.0 * std::cos(tilt), 170.0 + 40.0 * std::sin(tilt)},
        {1, 0, 20.0, 80.0, 170.0},
        {0, 1, 100.0, 80.0, 170.0},
    };
    for (const auto& [w, h] : {std::pair{width, height}, std::pair{80, 150}}) {
        scene->reshape(0, 0, w, h);
        const std::vector<FeedbackVertex> vertices = corners();
        ASSERT_EQ(vertices.size(), 6u);  // two triangles
        for (const auto& c : expected) {
            const FeedbackVertex* v = findCorner(vertices, c.s, c.t);
            ASSERT_NE(v, nullptr) << c.s << "," << c.t;
            const WindowPoint at = expectedWindowPoint(c.x, c.y, c.z, w, h);
            EXPECT_NEAR(v->x, at.x, 0.01) << w << ": " << c.s << "," << c.t;
            EXPECT_NEAR(v->y, at.y, 0.01) << w << ": " << c.s << "," << c.t;
        }
    }
}

TEST_F(SceneTest, ParticleShowsAsBlueCyanGlowAtItsPixelAndOverlapsAdd) {
    start();
    killAll();
    place(0, 60.0f, 80.0f, 170.0f, 40.0f);
    scene->draw();
    glFinish();
    const WindowPoint centre = expectedWindowPoint(60.0, 80.0, 170.0, width, height);
    const int cx = static_cast<int>(centre.x), cy = static_cast<int>(centre.y);
    const std::uint8_t* p = context.pixel(cx, cy);
    // Glow centre (253) times the particle colour (0, 0.6, 0.9), added to black.
    EXPECT_LE(p[0], 2);
    EXPECT_NEAR(p[1], 0.6 * 253, 4);
    EXPECT_NEAR(p[2], 0.9 * 253, 4);
    const std::uint8_t* corner = context.pixel(2, 2);
    EXPECT_EQ(corner[0] + corner[1] + corner[2], 0);

    // A second, dimmer particle behind the first and drawn after it still adds.
    const int single = p[1];
    place(1, 60.0f, 80.0f, 169.0f, 40.0f).alpha = 0.5f;
    scene->draw();
    glFinish();
    EXPECT_NEAR(context.pixel(cx, cy)[1], single * 1.5, 4);
}

TEST_F(SceneTest, ViewportTakesItsPlaceAndAZeroHeightBecomesOnePixel) {
    start();
    scene->reshape(0, 0, 640, 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, 640, 1}));
    scene->reshape(30, 20, 200, 100);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{30, 20, 200, 100}));
}

TEST_F(SceneTest, TextureKeepsTheStoredBytesInOrderAndNeedsAtLeastOneImage) {
    // Two rows of two pixels, each row padded to 4 bytes as DIB rows are.
    const std::uint8_t rows[] = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    const TextureImage image{2, 2, rows};
    const Scene onlySecond(nullptr, &image, 1);  // the upload leaves its texture bound
    std::uint8_t back[12] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back);
    EXPECT_EQ(std::vector<std::uint8_t>(back, back + 12),
              (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);  // no mipmaps exist, so a mipmap filter would draw nothing

    try {
        Scene none(nullptr, nullptr, 1);
        ADD_FAILURE() << "a scene without textures was built";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.message(), "Failed to load textures");
    }
}

TEST_F(SceneTest, StoredOptionsReachTheEmitter) {
    // Stored Attractive and Floor (none: nothing saved yet), then the flags expected.
    const struct { bool stored; std::int32_t attractive, floor; bool attract, floorOn; } cases[] = {
        {false, 0, 0, false, false}, {true, 1, 0, true, false}, {true, 0, 1, false, true},
        {true, 7, 1, true, true},  // any non-zero value is on
        {true, 0, 0, false, false},
    };
    for (const auto& c : cases) {
        store = MemoryStore();
        if (c.stored) {
            store.putNumber("Software\\VelmoranSaverLumra0_01", "Attractive", c.attractive);
            store.putNumber("Software\\VelmoranSaverLumra0_01", "Floor", c.floor);
        }
        start();
        EXPECT_EQ(scene->particles().attract, c.attract) << c.attractive;
        EXPECT_EQ(scene->particles().isAttracting(), c.attract) << c.attractive;
        EXPECT_EQ(scene->particles().floor, c.floorOn) << c.floor;
        EXPECT_TRUE(scene->particles().moving);
    }
}

TEST_F(SceneTest, SeedingMakesTheRunRepeatable) {
    Vector3 positions[2];
    for (Vector3& position : positions) {
        resetSweepAngles();
        start(99);
        scene->update(0.1f);
        position = scene->particles().particles[10].position;
    }
    EXPECT_EQ(positions[0].x, positions[1].x);
    EXPECT_EQ(positions[0].y, positions[1].y);
    EXPECT_EQ(positions[0].z, positions[1].z);
}

TEST(SceneFailures, ExceptionsKeepTheirTextOthersReadUnknownError) {
    const auto throwsWith = [](auto make) -> std::string {
        try {
            translateConstructionFailure(make);
        } catch (const Exception& e) {
            return e.message();
        } catch (...) {
            return "not an Exception";
        }
        return "nothing thrown";
    };
    EXPECT_EQ(throwsWith([]() -> int { throw Exception("Out of particles"); }), "Out of particles");
    EXPECT_EQ(throwsWith([]() -> int { throw std::bad_alloc(); }), "Unknown error");
    EXPECT_EQ(throwsWith([]() -> int { throw std::runtime_error("x"); }), "Unknown error");
    EXPECT_EQ(throwsWith([]() -> int { throw 42; }), "Unknown error");
    EXPECT_EQ(translateConstructionFailure([] { return 7; }), 7);
}

}  // namespace
