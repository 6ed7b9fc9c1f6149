// FormatMessageW: the platform's description of an error code, as the system
// appends it to its error boxes ("Cannot execute file. ...\n" + text).
#pragma once

#include <string>

#include "platform/win32/types.h"

// Supports FORMAT_MESSAGE_FROM_SYSTEM (with or without
// FORMAT_MESSAGE_ALLOCATE_BUFFER; then lpBuffer is really an LPWSTR* that
// receives a LocalAlloc block to free with LocalFree) and
// FORMAT_MESSAGE_FROM_STRING without inserts. Returns the characters written,
// without the terminator; 0 on failure (unknown code: ERROR_MR_MID_NOT_FOUND;
// buffer too small: ERROR_INSUFFICIENT_BUFFER). The texts carry no trailing
// line break, so they can be appended to a message as they are.
DWORD FormatMessageW(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPWSTR buffer,
                     DWORD size, void* arguments);

// The same text as a string; empty for an unknown code.
std::u16string SystemErrorText(DWORD code);

constexpr DWORD ERROR_MR_MID_NOT_FOUND = 317;
