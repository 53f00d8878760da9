#include <gtest/gtest.h>

#include <windows.h>

#include "tests/win32/dlls/fakempr/RecordedCall.h"

#include "shell/win32/PasswordChange.h"

namespace {

using LastCallFunction = const RecordedCall* (*)();
using ResetFunction = void (*)();

template <typename Function>
Function lookUp(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

TEST(PasswordChange, CallsTheServiceWithTheScreenSaverProviderAndOwner) {
    // Our own reference keeps the stand-in loaded after changePassword frees
    // its reference, so what it recorded can still be read.
    HMODULE fake = LoadLibraryA("fakempr.dll");
    ASSERT_NE(fake, nullptr);
    const auto lastCall = lookUp<LastCallFunction>(fake, "fakeMprLastCall");
    const auto reset = lookUp<ResetFunction>(fake, "fakeMprReset");
    ASSERT_NE(lastCall, nullptr);
    ASSERT_NE(reset, nullptr);
    reset();

    HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    changePasswordWith("fakempr.dll", owner);
    const RecordedCall* call = lastCall();
    EXPECT_EQ(call->calls, 1);
    EXPECT_STREQ(call->provider, "SCRSAVE");
    EXPECT_EQ(call->owner, owner);
    EXPECT_EQ(call->reserved, 0u);
    EXPECT_EQ(call->reservedPointer, nullptr);

    changePasswordWith("fakempr.dll", nullptr);
    EXPECT_EQ(call->calls, 2);
    EXPECT_EQ(call->owner, nullptr);

    // changePassword released every reference it took: ours was the last.
    FreeLibrary(fake);
    EXPECT_EQ(GetModuleHandleA("fakempr.dll"), nullptr);
}

// A missing library, or one without the service, is left as it was found.
TEST(PasswordChange, WithoutTheServiceNothingStaysLoaded) {
    for (const char* library : {"lumra_no_such_library.dll", "noservice.dll"}) {
        ASSERT_EQ(GetModuleHandleA(library), nullptr) << library;
        changePasswordWith(library, nullptr);
        EXPECT_EQ(GetModuleHandleA(library), nullptr) << library;
    }
}

