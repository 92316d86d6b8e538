#pragma once
// Win32 error codes as the C runtime turns them into errno values.
#include <windows.h>

namespace zudo::platform::win32 {

int errnoOf(DWORD error);

} // namespace zudo::platform::win32
