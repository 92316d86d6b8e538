// Calls into the game inside its process: the routine's address is called
// through a function pointer of its convention.
//
// Every argument that passes between plug-in and game (32-bit integers,
// bools, floats, host addresses, pointers of this 32-bit process) takes one
// 32-bit stack word under cdecl, stdcall and thiscall alike, so a routine is
// called as one taking that many words; only the result differs by its type
// (EAX, or the FPU's top register for a float). Thiscall is spelled as
// fastcall with an unused second register argument: both put the first
// argument in ECX, the rest on the stack, and let the callee clean up, and
// MSVC accepts __thiscall only on member functions.
#include <bit>
#include <cstdint>
#include <utility>

#include "platform/Compiler.hpp"
#include "util/mem/HostCall.hpp"

namespace zudo::util::mem {

namespace detail {

namespace {

using Word = std::uint32_t;
template <std::size_t>
using WordFor = Word;

// The result as the replacement host's interface widens it: a word as is, a
// float by its bits.
template <class Result, class Call>
std::uint64_t finish(const Call& call)
{
    if constexpr (std::is_void_v<Result>) {
        call();
        return 0;
    } else if constexpr (std::is_same_v<Result, float>) {
        return std::bit_cast<Word>(call());
    } else {
        return call();
    }
}

template <class Result, std::size_t... I>
std::uint64_t callWords(CallingConvention convention, Word address, Word self, const Word* words,
                        std::index_sequence<I...>)
{
    switch (convention) {
    case CallingConvention::Thiscall: {
        using Function = Result(ZUDO_FASTCALL*)(Word, Word, WordFor<I>...);
        auto* function = reinterpret_cast<Function>(std::uintptr_t{address});
        return finish<Result>([&] { return function(self, 0, words[I]...); });
    }
    case CallingConvention::Stdcall: {
        using Function = Result(ZUDO_STDCALL*)(WordFor<I>...);
        auto* function = reinterpret_cast<Function>(std::uintptr_t{address});
        return finish<Result>([&] { return function(words[I]...); });
    }
    case CallingConvention::Cdecl:
    case CallingConvention::None: {
        using Function = Result(ZUDO_CDECL*)(WordFor<I>...);
        auto* function = reinterpret_cast<Function>(std::uintptr_t{address});
        return finish<Result>([&] { return function(words[I]...); });
    }
    }
    return 0;
}

constexpr std::size_t maxWords = 8;

template <class Result, std::size_t Count = 0>
std::uint64_t callWithCount(std::size_t count, CallingConvention convention, Word address, Word self,
                            const Word* words)
{
    if constexpr (Count < maxWords) {
        if (count != Count) {
            return callWithCount<Result, Count + 1>(count, convention, address, self, words);
        }
    }
    return callWords<Result>(convention, address, self, words, std::make_index_sequence<Count>());
}

} // namespace

std::optional<std::uint64_t> invokeRoutine(CallingConvention convention, HostAddress routine,
                                           HostAddress self, std::span<const std::uint64_t> arguments,
                                           ResultKind result)
{
    if (convention == CallingConvention::None || arguments.size() > maxWords) {
        return std::nullopt;
    }
    Word words[maxWords] = {};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        words[i] = static_cast<Word>(arguments[i]);
    }
    const Word address = routine.value();
    std::uint64_t answer = 0;
    switch (result) {
    case ResultKind::None:
        answer = callWithCount<void>(arguments.size(), convention, address, self.value(), words);
        break;
    case ResultKind::Float:
        answer = callWithCount<float>(arguments.size(), convention, address, self.value(), words);
        break;
    case ResultKind::Word:
        answer = callWithCount<Word>(arguments.size(), convention, address, self.value(), words);
        break;
    }
    forgetHostMemoryRegions(); // the game's code may have allocated, freed or protected memory
    return answer;
}

// Routines without a known address are never called inside the game.
std::optional<std::uint64_t> invokeNamedRoutine(const char*, HostAddress, std::span<const std::uint64_t>,
                                                ResultKind)
{
    return std::nullopt;
}

bool namedRoutineAvailable(const char*) { return false; }

} // namespace detail

PluginRoutine PluginRoutine::forRoutine(std::uintptr_t code, PluginRoutineThunk)
{
    return PluginRoutine(HostAddress(static_cast<std::uint32_t>(code)), false);
}

void PluginRoutine::release()
{
    address_ = HostAddress();
    registeredWithHost_ = false;
}

} // namespace zudo::util::mem
