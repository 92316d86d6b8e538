#pragma once
// Calling host routines, and handing plug-in routines to the host.
//
// One mechanism for every call into the host. It knows the host's calling
// conventions: member routines are thiscall (the host object in ECX), free
// routines cdecl unless a routine is stdcall.
// Arguments are widened to 64 bits here; each build's half makes the call:
// - in the game's process (game/GameCalls.cpp): the routine's address is
//   called through a function pointer of exactly that convention, every
//   argument one 32-bit stack word;
// - against the replacement host (replacement/ReplacementCalls.cpp): the host
//   calls the fake registered for the address (or, for a routine whose
//   address is unknown, for its name), as ReplacementHost.h describes.
//
// Argument and result types: std::int32_t, std::uint32_t, float, bool,
// HostAddress, and const char* (plug-in memory the host only reads during the
// call). A call that cannot be made (no module, no fake) is refused: the
// result is an empty optional, or false for routines without a result.

#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/Compiler.hpp"
#include "util/mem/HostAddress.hpp"

namespace zudo::util::mem {

enum class CallingConvention : std::uint8_t { None, Thiscall, Cdecl, Stdcall };

// What a host call gives back: the result, or nothing when the call was
// refused; for routines without a result, whether the call was made.
template <class R>
using HostResult = std::conditional_t<std::is_void_v<R>, bool, std::optional<R>>;

namespace detail {

template <class T>
inline constexpr bool isHostValue =
    std::is_same_v<T, std::int32_t> || std::is_same_v<T, std::uint32_t> ||
    std::is_same_v<T, float> || std::is_same_v<T, bool> || std::is_same_v<T, HostAddress> ||
    std::is_same_v<T, const char*>;

// 64-bit form of an argument or result in the replacement host's interface.
template <class T>
std::uint64_t widen(T value)
{
    static_assert(isHostValue<T>, "not a type that passes between plug-in and host");
    if constexpr (std::is_same_v<T, std::int32_t>) {
        return static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
    } else if constexpr (std::is_same_v<T, float>) {
        return std::bit_cast<std::uint32_t>(value);
    } else if constexpr (std::is_same_v<T, HostAddress>) {
        return value.value();
    } else if constexpr (std::is_same_v<T, const char*>) {
        return reinterpret_cast<std::uintptr_t>(value);
    } else {
        return static_cast<std::uint64_t>(value);
    }
}

template <class T>
T narrow(std::uint64_t value)
{
    static_assert(isHostValue<T>, "not a type that passes between plug-in and host");
    if constexpr (std::is_same_v<T, float>) {
        return std::bit_cast<float>(static_cast<std::uint32_t>(value));
    } else if constexpr (std::is_same_v<T, HostAddress>) {
        return HostAddress(static_cast<std::uint32_t>(value));
    } else if constexpr (std::is_same_v<T, const char*>) {
        return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(value));
    } else if constexpr (std::is_same_v<T, bool>) {
        return (value & 0xFF) != 0; // the host sets only the low byte of a bool
    } else {
        return static_cast<T>(static_cast<std::uint32_t>(value));
    }
}

template <class R>
HostResult<R> refused()
{
    if constexpr (std::is_void_v<R>) {
        return false;
    } else {
        return std::nullopt;
    }
}

template <class R>
HostResult<R> fromWide(std::uint64_t value)
{
    if constexpr (std::is_void_v<R>) {
        return true;
    } else {
        return narrow<R>(value);
    }
}

// How the caller takes the result: none, a 32-bit word (EAX) or a float
// (the FPU's top register).
enum class ResultKind : std::uint8_t { None, Word, Float };

template <class R>
inline constexpr ResultKind resultKind = std::is_void_v<R>            ? ResultKind::None
                                         : std::is_same_v<R, float> ? ResultKind::Float
                                                                     : ResultKind::Word;

// The build's half. The routine at a resolved address, or the routine bound by
// name (never called inside the game: its address is unknown there), with
// the widened arguments; nothing when the call cannot be made.
std::optional<std::uint64_t> invokeRoutine(CallingConvention convention, HostAddress routine,
                                           HostAddress self, std::span<const std::uint64_t> arguments,
                                           ResultKind result);
std::optional<std::uint64_t> invokeNamedRoutine(const char* name, HostAddress self,
                                                std::span<const std::uint64_t> arguments,
                                                ResultKind result);
// Whether the host supplies a routine bound by name.
bool namedRoutineAvailable(const char* name);

template <class R, class... A>
HostResult<R> callWidened(const auto& invoke, A... args)
{
    const std::array<std::uint64_t, sizeof...(A) + 1> wide{widen(args)..., 0};
    const std::optional<std::uint64_t> result =
        invoke(std::span<const std::uint64_t>(wide.data(), sizeof...(A)), resultKind<R>);
    return result ? fromWide<R>(*result) : refused<R>();
}

} // namespace detail

// Calls the routine at a resolved host address. self is the host object of a
// member routine (thiscall) and is ignored otherwise. A null routine, or a
// member routine without its object, is refused.
template <class R, class... A>
HostResult<R> callHostRoutine(CallingConvention convention, HostAddress routine, HostAddress self,
                              A... args)
{
    if (routine.isNull() || convention == CallingConvention::None ||
        (convention == CallingConvention::Thiscall && self.isNull())) {
        return detail::refused<R>();
    }
    return detail::callWidened<R>(
        [&](std::span<const std::uint64_t> wide, detail::ResultKind kind) {
            return detail::invokeRoutine(convention, routine, self, wide, kind);
        },
        args...);
}

// Calls the routine that the host supplies under name (a binding whose
// address is unknown); refused where no host supplies it.
template <class R, class... A>
HostResult<R> callNamedHostRoutine(const char* name, HostAddress self, A... args)
{
    return detail::callWidened<R>(
        [&](std::span<const std::uint64_t> wide, detail::ResultKind kind) {
            return detail::invokeNamedRoutine(name, self, wide, kind);
        },
        args...);
}

// Calls a member routine (thiscall) at a resolved address, e.g. the previous
// entry of a virtual table that a replacement passes the call on to.
template <class R, class... A>
HostResult<R> callMemberAt(HostAddress routine, HostAddress self, A... args)
{
    return callHostRoutine<R>(CallingConvention::Thiscall, routine, self, args...);
}

// Calls the virtual operation of a host object whose entry lies at
// slotByteOffset of its table (slot number times 4).
template <class R, class... A>
HostResult<R> callVirtual(HostAddress object, std::uint32_t slotByteOffset, A... args)
{
    if (object.isNull()) {
        return detail::refused<R>();
    }
    const HostAddress table = object.readAddress(0);
    if (table.isNull()) {
        return detail::refused<R>();
    }
    return callMemberAt<R>(table.readAddress(slotByteOffset & ~3u), object, args...);
}

// ---------------------------------------------------------------------------
// Plug-in routines the host calls by address. A member routine of the host
// (an entry of a cloned virtual table) is written once for both builds as
//
//     float ZUDO_FASTCALL onFrame(std::uint32_t self, std::uint32_t, float t);
//
// that is, in the fastcall spelling explained above: the host object first,
// then an unused register slot, then the arguments. A free routine (the
// target of a jump patched into host code) has the C convention:
//
//     std::int32_t ZUDO_CDECL onSurfaceType(std::int32_t map);
//
// PluginRoutine gives either a host address.

namespace detail {

// Calls a routine with the widened arguments the replacement host passes.
template <class R, class... A, class Call, std::size_t... I>
std::uint64_t callWithWidened(const Call& call, const std::uint64_t* arguments, std::uint32_t count,
                              std::index_sequence<I...>)
{
    if (count < sizeof...(A)) {
        return 0; // the host passed fewer arguments than the routine takes
    }
    if constexpr (std::is_void_v<R>) {
        call(narrow<A>(arguments[I])...);
        return 0;
    } else {
        return widen<R>(call(narrow<A>(arguments[I])...));
    }
}

} // namespace detail

template <auto Function>
class PluginRoutineAdapter;

// The entries below are where the game's call lands: each first forgets the
// memory regions known from before (the game's code ran since the plug-in
// last looked; forgetHostMemoryRegions), then runs the routine.
template <class R, class... A, R(ZUDO_FASTCALL* Function)(std::uint32_t, std::uint32_t, A...)>
class PluginRoutineAdapter<Function> {
public:
    static R ZUDO_FASTCALL entry(std::uint32_t self, std::uint32_t unused, A... args)
    {
        forgetHostMemoryRegions();
        return Function(self, unused, args...);
    }
    static std::uint64_t call(void*, std::uint32_t self, const std::uint64_t* arguments,
                              std::uint32_t count)
    {
        const auto member = [self](A... args) { return entry(self, 0, args...); };
        return detail::callWithWidened<R, A...>(member, arguments, count, std::index_sequence_for<A...>());
    }
};

template <auto Function>
class FreePluginRoutineAdapter;

template <class R, class... A, R(ZUDO_CDECL* Function)(A...)>
class FreePluginRoutineAdapter<Function> {
public:
    static R ZUDO_CDECL entry(A... args)
    {
        forgetHostMemoryRegions();
        return Function(args...);
    }
    static std::uint64_t call(void*, std::uint32_t, const std::uint64_t* arguments, std::uint32_t count)
    {
        const auto plain = [](A... args) { return entry(args...); };
        return detail::callWithWidened<R, A...>(plain, arguments, count, std::index_sequence_for<A...>());
    }
};

// The form in which the replacement host calls a plug-in routine
// (ZudoPluginRoutine of ReplacementHost.h).
using PluginRoutineThunk = std::uint64_t (*)(void* context, std::uint32_t self,
                                             const std::uint64_t* arguments, std::uint32_t count);

// Owns the host address of one plug-in routine: inside the game simply the
// routine's address; against the replacement host registered with it for the
// object's lifetime.
class PluginRoutine {
public:
    PluginRoutine() = default;
    // A member routine of the host (fastcall spelling, see above).
    template <auto Function>
    static PluginRoutine of()
    {
        return forRoutine(reinterpret_cast<std::uintptr_t>(&PluginRoutineAdapter<Function>::entry),
                          &PluginRoutineAdapter<Function>::call);
    }
    // A free routine of the C convention.
    template <auto Function>
    static PluginRoutine ofFree()
    {
        return forRoutine(reinterpret_cast<std::uintptr_t>(&FreePluginRoutineAdapter<Function>::entry),
                          &FreePluginRoutineAdapter<Function>::call);
    }
    ~PluginRoutine();
    PluginRoutine(PluginRoutine&& other) noexcept;
    PluginRoutine& operator=(PluginRoutine&& other) noexcept;
    PluginRoutine(const PluginRoutine&) = delete;
    PluginRoutine& operator=(const PluginRoutine&) = delete;

    // Null when no address could be given (no replacement host to register with).
    HostAddress address() const { return address_; }

private:
    PluginRoutine(HostAddress address, bool registeredWithHost)
        : address_(address), registeredWithHost_(registeredWithHost)
    {
    }
    // The build's half: the code address itself, or the thunk registered with
    // the replacement host.
    static PluginRoutine forRoutine(std::uintptr_t code, PluginRoutineThunk thunk);
    void release();

    HostAddress address_;
    bool registeredWithHost_ = false;
};

} // namespace zudo::util::mem
