// Drawing the pool on a real software GL: which slots are drawn, where each
// diamond's corners land, how the camera angles turn it, and that the
// matrix stack and current state are left as they were found.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/OsMesaContext.h"
#include "tests/unit/ParticleTestSupport.h"

namespace {

constexpr double Depth = 100.0;

struct Corner {
    float x, y, z;
    float s, t;
};

// Rotation of p about a unit axis by degrees, the way glRotatef builds it.
Vector3 rotate(const Vector3& p, double degrees, int axis) {
    const double a = degrees * 3.14159265358979323846 / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    float v[3] = {p.x, p.y, p.z};
    // The two coordinates that turn, in right-handed order after the axis.
    float& u = v[(axis + 1) % 3];
    float& w = v[(axis + 2) % 3];
    const float turnedU = static_cast<float>(c * u - s * w);
    w = static_cast<float>(s * u + c * w);
    u = turnedU;
    return Vector3(v[0], v[1], v[2]);
}

class ParticleRender : public particletest::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_TRUE(context.isCurrent());
        useCentredOrthographicView(context, Depth);
        system = makeSystem();
        for (Particle& p : system->particles) p.age = -1.0f;
        system->camera.angles = Vector3(0, 0, 0);
    }

    Particle& place(int slot, const Vector3& at, float size) {
        Particle& p = system->particles[slot];
        p.age = 0.0f;
        p.position = at;
        p.size = size;
        p.color = Color4{0.25f, 0.5f, 0.75f, 0.125f};
        p.alpha = 0.375f;
        return p;
    }

    std::vector<FeedbackVertex> drawnVertices() {
        const FeedbackCapture capture = captureFeedback([this] { system->render(); });
        EXPECT_FALSE(capture.overflowed);
        std::vector<FeedbackVertex> scene;
        for (const FeedbackVertex& v : capture.polygonVertices()) scene.push_back(sceneFromWindow(context, Depth, v));
        return scene;
    }

    // Each expected corner must be among the drawn vertices, with its
    // texture coordinate; two triangles share the middle two corners.
    void expectDiamond(const std::vector<FeedbackVertex>& drawn, const Corner (&corners)[4]) {
        ASSERT_EQ(drawn.size(), 6u);
        for (const Corner& corner : corners) {
            int matches = 0;
            for (const FeedbackVertex& v : drawn) {
                if (std::fabs(v.x - corner.x) < 1e-3f && std::fabs(v.y - corner.y) < 1e-3f &&
                    std::fabs(v.z - corner.z) < 2e-3f) {
                    ++matches;
                    EXPECT_EQ(v.s, corner.s);
                    EXPECT_EQ(v.t, corner.t);
                }
            }
            EXPECT_GE(matches, 1) << "no vertex at (" << corner.x << ", " << corner.y << ", " << corner.z << ")";
        }
    }

    OsMesaContext context{200, 200};
    std::unique_ptr<ParticleSystem> system;
};

}  // namespace

TEST_F(ParticleRender, AnEmptyPoolDrawsNothingAndChangesNoState) {
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    const FeedbackCapture capture = captureFeedback([this] { system->render(); });
    EXPECT_TRUE(capture.polygons.empty());
    EXPECT_EQ(capture.otherItems, 0u);
    GLfloat color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    EXPECT_FLOAT_EQ(color[0], 0.1f);
    EXPECT_FLOAT_EQ(color[3], 0.4f);
}

TEST_F(ParticleRender, DiamondCornersSitAroundThePosition) {
    Particle& p = place(0, Vector3(1, 2, 3), 5.0f);
    const std::vector<FeedbackVertex> drawn = drawnVertices();
    const Corner corners[4] = {{1, 7, 3, 0, 0}, {-4, 2, 3, 1, 0}, {6, 2, 3, 0, 1}, {1, -3, 3, 1, 1}};
    expectDiamond(drawn, corners);
    // Tinted by the colour and the separate opacity, not the colour's fourth component.
    for (const FeedbackVertex& v : drawn) {
        EXPECT_FLOAT_EQ(v.r, p.color.r);
        EXPECT_FLOAT_EQ(v.g, p.color.g);
        EXPECT_FLOAT_EQ(v.b, p.color.b);
        EXPECT_FLOAT_EQ(v.a, p.alpha);
    }
}

TEST_F(ParticleRender, OnlyLiveSlotsAreDrawnInIndexOrder) {
    place(5, Vector3(-20, 0, 0), 2.0f);
    place(9, Vector3(30, 0, 0), 2.0f);
    system->particles[7].age = -1.0f;  // dead between them
    const std::vector<FeedbackVertex> drawn = drawnVertices();
    ASSERT_EQ(drawn.size(), 12u);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(drawn[i].x, -20.0f, 2.01f) << i;
    for (int i = 6; i < 12; ++i) EXPECT_NEAR(drawn[i].x, 30.0f, 2.01f) << i;
}

// The camera angles turn every diamond: about z, then y, then x in the call
// order, so a local corner is turned about x first.
TEST_F(ParticleRender, CameraAnglesTurnEveryDiamondInZYXOrder) {
    const Vector3 at(-5, 8, 2);
    const float size = 6.0f;
    place(0, at, size);
    for (const Vector3& angles : {Vector3(20, 0, 0), Vector3(30, 50, 70)}) {
        SCOPED_TRACE(angles.y);
        system->camera.angles = angles;
        auto expected = [&](const Vector3& local, float s, float t) {
            const Vector3 world = rotate(rotate(rotate(local, angles.x, 0), angles.y, 1), angles.z, 2) + at;
            return Corner{world.x, world.y, world.z, s, t};
        };
        const Corner corners[4] = {expected(Vector3(0, size, 0), 0, 0), expected(Vector3(-size, 0, 0), 1, 0),
                                   expected(Vector3(size, 0, 0), 0, 1), expected(Vector3(0, -size, 0), 1, 1)};
        expectDiamond(drawnVertices(), corners);
    }
}

TEST_F(ParticleRender, LeavesTheMatrixStackAsFound) {
    place(0, Vector3(1, 2, 3), 5.0f);
    place(1, Vector3(-40, 5, 0), 3.0f);
    system->camera.angles = Vector3(20, 10, 5);
    glTranslatef(3.0f, -7.0f, 11.0f);
    // The model-view matrix followed by the stack depth.
    const auto modelView = [] {
        std::vector<GLfloat> state(17);
        GLint depth = 0;
        glGetFloatv(GL_MODELVIEW_MATRIX, state.data());
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        state[16] = static_cast<GLfloat>(depth);
        return state;
    };
    const std::vector<GLfloat> before = modelView();
    system->render();
    EXPECT_EQ(modelView(), before);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
