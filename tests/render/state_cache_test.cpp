#include <gtest/gtest.h>

#include "render/gl_state_cache.h"
#include "tests/render/recording_gl.h"

using Calls = std::vector<std::string>;

TEST(GLStateCache, TextureUnitsChangeOnlyTheBitsThatDifferLowestFirst)
{
    recordStateCalls();
    GLStateCache& cache = GLStateCache::instance();

    cache.setTextureUnits(0b101);
    EXPECT_EQ(glCalls(), (Calls{"glActiveTextureARB 0x84c0", "glEnable 0xde1", "glActiveTextureARB 0x84c2",
                                "glEnable 0xde1"}));  // unit 2 left active
    glCalls().clear();
    cache.setTextureUnits(0b101);
    EXPECT_TRUE(glCalls().empty());

    cache.setTextureUnits(0b011);
    EXPECT_EQ(glCalls(), (Calls{"glActiveTextureARB 0x84c1", "glEnable 0xde1", "glActiveTextureARB 0x84c2",
                                "glDisable 0xde1"}));
}

TEST(GLStateCache, TextureCoordArraysWalkTheClientUnits)
{
    recordStateCalls();
    GLStateCache& cache = GLStateCache::instance();

    cache.setTextureCoordArrays(0b10);
    cache.setTextureCoordArrays(0b10);
    cache.setTextureCoordArrays(0);
    EXPECT_EQ(glCalls(), (Calls{"glClientActiveTextureARB 0x84c1", "glEnableClientState 0x8078",
                                "glClientActiveTextureARB 0x84c1", "glDisableClientState 0x8078"}));
}

TEST(GLStateCache, RepeatedStateIssuesNoCalls)
{
    recordStateCalls();
    GLStateCache& cache = GLStateCache::instance();

    // Nothing is enabled at start, so disabling the vertex array is no change.
    cache.setVertexArray(false);
    cache.setVertexArray(true);
    cache.setVertexArray(true);
    // The matrix mode starts unknown: the first request always goes out.
    cache.setMatrixMode(GL_MODELVIEW);
    cache.setMatrixMode(GL_MODELVIEW);
    cache.setMatrixMode(GL_PROJECTION);
    // Texture names start unknown, so even name 0 is bound once per unit.
    cache.bindTexture(0, 0);
    cache.bindTexture(3, 7);
    cache.bindTexture(3, 7);
    EXPECT_EQ(glCalls(), (Calls{"glEnableClientState 0x8074", "glMatrixMode 0x1700", "glMatrixMode 0x1701",
                                "glActiveTextureARB 0x84c0", "glBindTexture 0xde1", "  name 0x0",
                                "glActiveTextureARB 0x84c3", "glBindTexture 0xde1", "  name 0x7"}));
    EXPECT_EQ(cache.boundTexture(3), 7u);
}
