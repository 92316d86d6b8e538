#pragma once
// Compiler-specific spellings, in one place so the code stays portable to MSVC.

#if defined(_WIN32) && !defined(_WIN64)
// 32-bit Windows: the host's conventions. g++ on i686 MinGW already uses
// thiscall for members; it is spelled out because the host relies on it.
#define ZUDO_THISCALL __thiscall
#define ZUDO_CDECL __cdecl
#define ZUDO_STDCALL __stdcall
#define ZUDO_FASTCALL __fastcall
#else
// The native build has one calling convention; the spellings vanish.
#define ZUDO_THISCALL
#define ZUDO_CDECL
#define ZUDO_STDCALL
#define ZUDO_FASTCALL
#endif

#if defined(_WIN32)
#define ZUDO_EXPORT __declspec(dllexport)
#else
#define ZUDO_EXPORT __attribute__((visibility("default")))
#endif

#if defined(_MSC_VER)
#define ZUDO_NOINLINE __declspec(noinline)
#else
#define ZUDO_NOINLINE __attribute__((noinline))
#endif
