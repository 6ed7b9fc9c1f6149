/* One entry of the SDK's ABI as one side sees it (sdk_abi_list.inc). */
#ifndef MIVO_TESTS_SDK_ABI_H
#define MIVO_TESTS_SDK_ABI_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct mivoAbiEntry {
  const char* name; /* "RECT", "RECT.left", "WM_PAINT" */
  long long first;  /* size, offset or value */
  long long second; /* signedness or field size; 0 for constants */
} mivoAbiEntry;

/* The table as the SDK's C headers see it (sdk_abi_c.c), and its length. */
extern const mivoAbiEntry mivo_sdk_abi_c[];
extern const int mivo_sdk_abi_c_count;

#ifdef __cplusplus
}
#endif

#endif
