#include <gtest/gtest.h>

#include <windows.h>

#include "shell/win32/PasswordChange.h"
#include "tests/win32/dlls/fakempr/RecordedCall.h"

namespace {

template <typename Function>
Function lookUp(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The service gets the screen-saver provider and the owner; every library
// taken is let go, and one that is missing or lacks the service is left as found.
TEST(PasswordChange, CallsTheServiceWithTheScreenSaverProviderAndOwner) {
    // Our own reference keeps the stand-in loaded after changePasswordWith
    // frees its reference, so what it recorded can still be read.
    HMODULE fake = LoadLibraryA("fakempr.dll");
    ASSERT_NE(fake, nullptr);
    const RecordedCall* call = lookUp<const RecordedCall* (*)()>(fake, "fakeMprLastCall")();
    HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    changePasswordWith("fakempr.dll", owner);
    EXPECT_EQ(call->calls, 1);
    EXPECT_STREQ(call->provider, "SCRSAVE");
    EXPECT_EQ(call->owner, owner);
    EXPECT_EQ(call->reserved, 0u);
    EXPECT_EQ(call->reservedPointer, nullptr);
    FreeLibrary(fake);
    EXPECT_EQ(GetModuleHandleA("fakempr.dll"), nullptr);

    for (const char* library : {"lumra_no_such_library.dll", "noservice.dll"}) {
        changePasswordWith(library, nullptr);
        EXPECT_EQ(GetModuleHandleA(library), nullptr) << library;
    }
}

}  // namespace
