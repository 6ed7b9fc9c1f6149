/* The SDK's ABI as a plug-in written in C sees it: the headers alone. */
#include <stddef.h>

#include "mivo/gadget_plugin.h"
#include "mivo/today.h"
#include "tests/plugins/sdk_abi.h"

#define ABI_SCALAR(T) {#T, (long long)sizeof(T), (long long)((T)-1 < (T)0)},
#define ABI_SIZE(T) {#T, (long long)sizeof(T), 0},
#define ABI_STRUCT(T) {#T, (long long)sizeof(T), 0},
#define ABI_FIELD(T, f) {#T "." #f, (long long)offsetof(T, f), (long long)sizeof(((T*)0)->f)},
#define ABI_CONST(c) {#c, (long long)(c), 0},
#define ABI_HANDLE(c) {#c, (long long)(uintptr_t)(c), 0},

const mivoAbiEntry mivo_sdk_abi_c[] = {
#include "tests/plugins/sdk_abi_list.inc"
};
const int mivo_sdk_abi_c_count = (int)(sizeof mivo_sdk_abi_c / sizeof mivo_sdk_abi_c[0]);

/* The text type is the 16-bit one of u"" literals, so plug-ins write their texts as such. */
_Static_assert(sizeof(u"x"[0]) == sizeof(WCHAR), "WCHAR is the type of u\"\" literals");
_Static_assert(_Generic(u"x"[0], WCHAR : 1, default : 0), "WCHAR is the type of u\"\" literals");
