// The GL test fixture itself: a context is made current, feedback mode
// reports window coordinates that map back to scene points, and drawing
// reaches the byte buffer.
#include <gtest/gtest.h>

#include "OsMesaContext.h"

TEST(OsMesaContext, FeedbackMapsBackToScenePoints) {
    OsMesaContext context(64, 48);
    ASSERT_TRUE(context.isCurrent());
    useCentredOrthographicView(context, 100.0);

    const FeedbackCapture capture = captureFeedback([] {
        glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
        glBegin(GL_TRIANGLES);
        glTexCoord2f(0.0f, 1.0f);
        glVertex3f(-10.0f, -5.0f, 20.0f);
        glVertex3f(10.0f, -5.0f, 0.0f);
        glVertex3f(0.0f, 15.0f, -40.0f);
        glEnd();
    });
    ASSERT_FALSE(capture.overflowed);
    ASSERT_EQ(capture.polygonCount(), 1u);
    const std::vector<FeedbackVertex> vertices = capture.polygonVertices();
    ASSERT_EQ(vertices.size(), 3u);

    const FeedbackVertex first = sceneFromWindow(context, 100.0, vertices[0]);
    EXPECT_FLOAT_EQ(first.x, -10.0f);
    EXPECT_FLOAT_EQ(first.y, -5.0f);
    EXPECT_NEAR(first.z, 20.0f, 1e-3);
    EXPECT_FLOAT_EQ(first.g, 0.5f);
    EXPECT_FLOAT_EQ(first.t, 1.0f);
    const FeedbackVertex third = sceneFromWindow(context, 100.0, vertices[2]);
    EXPECT_FLOAT_EQ(third.y, 15.0f);
    EXPECT_NEAR(third.z, -40.0f, 1e-3);
}

TEST(OsMesaContext, DrawingReachesTheBuffer) {
    OsMesaContext context(16, 16);
    ASSERT_TRUE(context.isCurrent());
    useCentredOrthographicView(context, 1.0);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex3f(-8.0f, -8.0f, 0.0f);
    glVertex3f(0.0f, -8.0f, 0.0f);
    glVertex3f(-8.0f, 8.0f, 0.0f);
    glVertex3f(0.0f, 8.0f, 0.0f);
    glEnd();
    glFinish();

    EXPECT_EQ(context.pixel(3, 8)[0], 255);  // left half is red
    EXPECT_EQ(context.pixel(12, 8)[0], 0);   // right half untouched
}
