// The SDK's headers and the host agree on the ABI: every type's size and
// signedness, every structure's layout and every constant a plug-in shares
// with mivo, as a C plug-in sees them (sdk_abi_c.c, the SDK's headers alone)
// and as the host declares them. (The platform functions' signatures are
// checked when the program is built: each export the SDK declares must have
// the platform's exact signature.)
#include "tests/plugins/sdk_abi.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <string>

#include "desktop/desktop_page.h"
#include "desktop/plugin_interface.h"
#include "desktop/today_interface.h"
#include "platform/registry/registry.h"
#include "platform/win32/errors.h"
#include "platform/win32/gdi_defs.h"
#include "platform/win32/messages.h"
#include "platform/win32/types.h"

namespace {

using TODAYDRAWWATERMARKINFO = mivoTodayWatermarkInfo;

#define ABI_SCALAR(T) {#T, static_cast<long long>(sizeof(T)), static_cast<long long>(T(-1) < T(0))},
#define ABI_SIZE(T) {#T, static_cast<long long>(sizeof(T)), 0},
#define ABI_STRUCT(T) {#T, static_cast<long long>(sizeof(T)), 0},
#define ABI_FIELD(T, f) {#T "." #f, static_cast<long long>(offsetof(T, f)), static_cast<long long>(sizeof(T::f))},
#define ABI_CONST(c) {#c, static_cast<long long>(c), 0},
#define ABI_HANDLE(c) {#c, static_cast<long long>(reinterpret_cast<std::uintptr_t>(c)), 0},

const mivoAbiEntry kHost[] = {
#include "tests/plugins/sdk_abi_list.inc"
};

TEST(SdkAbi, TheCHeadersLayOutEveryTypeStructureAndConstantAsTheHostDoes) {
  ASSERT_EQ(mivo_sdk_abi_c_count, static_cast<int>(std::size(kHost)));
  for (int i = 0; i < mivo_sdk_abi_c_count; ++i) {
    const mivoAbiEntry& sdk = mivo_sdk_abi_c[i];
    const mivoAbiEntry& host = kHost[i];
    ASSERT_STREQ(sdk.name, host.name);
    EXPECT_EQ(sdk.first, host.first) << sdk.name;
    EXPECT_EQ(sdk.second, host.second) << sdk.name;
  }
}

TEST(SdkAbi, TheHostTableHoldsItsFourteenFunctionsInOrder) {
  EXPECT_EQ(sizeof(mivoAPI_1), 14 * sizeof(void*));
  EXPECT_EQ(offsetof(mivoAPI_1, ReadString), 13 * sizeof(void*));
  EXPECT_EQ(offsetof(mivoAPI_1, WriteBool), 8 * sizeof(void*));
}

}  // namespace
