// Frames must not allocate: update and render run thousands of times a
// minute. This file replaces the global operator new and delete for the
// whole test program; they only forward to malloc and free, and count
// calls only while a test here has switched counting on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "tests/support/OsMesaContext.h"
#include "tests/unit/ParticleTestSupport.h"

namespace {
bool counting = false;
long allocations = 0;

void* allocate(std::size_t size) {
    if (counting) ++allocations;
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
}

void* allocateNoThrow(std::size_t size) noexcept {
    if (counting) ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}
}  // namespace

// Every unaligned form is replaced, so that no allocation made here is
// released by the sanitizer's own operator delete, or the other way round.
void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocateNoThrow(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocateNoThrow(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

class ParticleAllocation : public particletest::EngineTest {
protected:
    long countDuring(const std::function<void()>& work) {
        allocations = 0;
        counting = true;
        work();
        counting = false;
        return allocations;
    }
};

TEST_F(ParticleAllocation, UpdateAndRenderAllocateNothing) {
    // The counting itself works, or the zeros below would prove nothing.
    EXPECT_EQ(countDuring([] { int* volatile kept = new int(5); delete kept; }), 1);
    settings.attractive = 1;
    OsMesaContext context(320, 240);
    ASSERT_TRUE(context.isCurrent());
    auto system = makeSystem();
    float time = 0.0f;
    // Warm up to a full pool, and let GL build whatever it caches on a first draw.
    for (int frame = 0; frame < 500; ++frame) {
        time += 1.0f / 60.0f;
        system->update(time);
    }
    glClear(GL_COLOR_BUFFER_BIT);
    system->render();
    glFinish();
    ASSERT_GT(system->liveCount, 3500);

    const long updates = countDuring([&] {
        for (int frame = 0; frame < 60; ++frame) {
            time += 1.0f / 60.0f;
            system->update(time);
        }
    });
    EXPECT_EQ(updates, 0);

    const long renders = countDuring([&] {
        for (int frame = 0; frame < 3; ++frame) system->render();
    });
    EXPECT_EQ(renders, 0);
}
