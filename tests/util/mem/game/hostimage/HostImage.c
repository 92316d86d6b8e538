/* A small executable that the loader tests load by hand (Windows build).
 * It has no C runtime: nothing of an image's own start-up runs when it is
 * loaded by hand. Its exports show whether the loader did its work:
 * probeAddress returns a pointer kept in data (right only after relocation,
 * and read by code through an absolute address), probeProcessId calls an
 * imported function (right only after the imports were resolved).
 * Built with ZUDO_FAR_POINTER it also holds a pointer that lies 256 MiB past
 * probeValue, outside the image wherever the image is put. */

__declspec(dllimport) unsigned long __stdcall GetCurrentProcessId(void);

__declspec(dllexport) int probeValue = 1234;
int* probePointer = &probeValue;

#ifdef ZUDO_FAR_POINTER
__declspec(dllexport) char* farPointer = (char*)&probeValue + 0x10000000;
#endif

__declspec(dllexport) int* probeAddress(void) { return probePointer; }

__declspec(dllexport) unsigned long probeProcessId(void) { return GetCurrentProcessId(); }

int hostImageEntry(void) { return 0; }
