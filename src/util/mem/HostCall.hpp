#pragma once
// Calling host routines, and handing plug-in routines to the host.
//
// One mechanism for every call into the host. It knows the host's calling
// conventions: member routines are thiscall (the host object in ECX), free
// routines cdecl unless a routine is stdcall.
// - Windows build: the routine's address is called through a function pointer
//   of exactly that convention. Thiscall is spelled as fastcall with an unused
//   second register argument: both put the first argument in ECX, the rest on
//   the stack, and let the callee clean up, and MSVC accepts __thiscall only on
//   member functions.
// - Native build: the replacement host calls the fake registered for the
//   address (or, for a routine whose address is unknown, for its name), with
//   the arguments widened to 64 bits as ReplacementHost.h describes.
//
// Argument and result types: std::int32_t, std::uint32_t, float, bool,
// HostAddress, and const char* (plug-in memory the host only reads during the
// call). A call that cannot be made (no module, no fake) is refused: the
// result is an empty optional, or false for routines without a result.

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/Compiler.hpp"
#include "platform/Platform.hpp"
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

// The type that stands for T in a real call of the Windows build.
template <class T>
using Raw = std::conditional_t<std::is_same_v<T, HostAddress>, std::uint32_t, T>;

template <class T>
Raw<T> raw(T value)
{
    if constexpr (std::is_same_v<T, HostAddress>) {
        return value.value();
    } else {
        return value;
    }
}

template <class T>
T cooked(Raw<T> value)
{
    if constexpr (std::is_same_v<T, HostAddress>) {
        return HostAddress(value);
    } else {
        return value;
    }
}

// 64-bit form of an argument or result in the replacement host's interface.
template <class T>
std::uint64_t widen(T value)
{
    static_assert(isHostValue<T>, "not a type that passes between plug-in and host");
    if constexpr (std::is_same_v<T, std::int32_t>) {
        return static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
    } else if constexpr (std::is_same_v<T, float>) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
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
        const auto bits = static_cast<std::uint32_t>(value);
        float result = 0;
        std::memcpy(&result, &bits, sizeof result);
        return result;
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

#if ZUDO_HOST_IS_NATIVE

template <class R, class... A>
HostResult<R> callReal(CallingConvention convention, HostAddress routine, HostAddress self,
                       A... args)
{
    const auto address = static_cast<std::uintptr_t>(routine.value());
    using Result = std::conditional_t<std::is_void_v<R>, void, Raw<R>>;
    auto finish = [](auto&& call) -> HostResult<R> {
        if constexpr (std::is_void_v<R>) {
            call();
            return true;
        } else {
            return cooked<R>(call());
        }
    };
    switch (convention) {
    case CallingConvention::Thiscall: {
        using Function = Result(ZUDO_FASTCALL*)(std::uint32_t, std::uint32_t, Raw<A>...);
        auto function = reinterpret_cast<Function>(address);
        return finish([&] { return function(self.value(), 0, raw(args)...); });
    }
    case CallingConvention::Stdcall: {
        using Function = Result(ZUDO_STDCALL*)(Raw<A>...);
        auto function = reinterpret_cast<Function>(address);
        return finish([&] { return function(raw(args)...); });
    }
    case CallingConvention::Cdecl: {
        using Function = Result(ZUDO_CDECL*)(Raw<A>...);
        auto function = reinterpret_cast<Function>(address);
        return finish([&] { return function(raw(args)...); });
    }
    case CallingConvention::None:
        break;
    }
    return refused<R>();
}

#else

template <class R, class... A>
HostResult<R> callSimulated(HostAddress routine, HostAddress self, A... args)
{
    const ::ZudoReplacementHost* host = platform::replacementHost();
    if (host == nullptr || host->callRoutine == nullptr) {
        return refused<R>();
    }
    const std::array<std::uint64_t, sizeof...(A) + 1> wide{widen(args)..., 0};
    int found = 0;
    const std::uint64_t result = host->callRoutine(routine.value(), self.value(), wide.data(),
                                                   static_cast<std::uint32_t>(sizeof...(A)), &found);
    return found != 0 ? fromWide<R>(result) : refused<R>();
}

template <class R, class... A>
HostResult<R> callSimulatedByName(const char* name, HostAddress self, A... args)
{
    const ::ZudoReplacementHost* host = platform::replacementHost();
    if (host == nullptr || host->callNamedRoutine == nullptr) {
        return refused<R>();
    }
    const std::array<std::uint64_t, sizeof...(A) + 1> wide{widen(args)..., 0};
    int found = 0;
    const std::uint64_t result = host->callNamedRoutine(
        name, self.value(), wide.data(), static_cast<std::uint32_t>(sizeof...(A)), &found);
    return found != 0 ? fromWide<R>(result) : refused<R>();
}

#endif

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
#if ZUDO_HOST_IS_NATIVE
    return detail::callReal<R>(convention, routine, self, args...);
#else
    return detail::callSimulated<R>(routine, self, args...);
#endif
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

template <class R, class... A, R(ZUDO_FASTCALL* Function)(std::uint32_t, std::uint32_t, A...)>
class PluginRoutineAdapter<Function> {
public:
    static std::uint64_t call(void*, std::uint32_t self, const std::uint64_t* arguments,
                              std::uint32_t count)
    {
        const auto member = [self](A... args) { return Function(self, 0, args...); };
        return detail::callWithWidened<R, A...>(member, arguments, count, std::index_sequence_for<A...>());
    }
};

template <auto Function>
class FreePluginRoutineAdapter;

template <class R, class... A, R(ZUDO_CDECL* Function)(A...)>
class FreePluginRoutineAdapter<Function> {
public:
    static std::uint64_t call(void*, std::uint32_t, const std::uint64_t* arguments, std::uint32_t count)
    {
        const auto plain = [](A... args) { return Function(args...); };
        return detail::callWithWidened<R, A...>(plain, arguments, count, std::index_sequence_for<A...>());
    }
};

// Owns the host address of one plug-in routine: natively registered with the
// replacement host for the object's lifetime; in the Windows build simply the
// routine's address.
class PluginRoutine {
public:
    PluginRoutine() = default;
    // A member routine of the host (fastcall spelling, see above).
    template <auto Function>
    static PluginRoutine of()
    {
#if ZUDO_HOST_IS_NATIVE
        return atAddressOf(Function);
#else
        return registered(&PluginRoutineAdapter<Function>::call);
#endif
    }
    // A free routine of the C convention.
    template <auto Function>
    static PluginRoutine ofFree()
    {
#if ZUDO_HOST_IS_NATIVE
        return atAddressOf(Function);
#else
        return registered(&FreePluginRoutineAdapter<Function>::call);
#endif
    }
    ~PluginRoutine();
    PluginRoutine(PluginRoutine&& other) noexcept;
    PluginRoutine& operator=(PluginRoutine&& other) noexcept;
    PluginRoutine(const PluginRoutine&) = delete;
    PluginRoutine& operator=(const PluginRoutine&) = delete;

    // Null when no address could be given (native build without a host).
    HostAddress address() const { return address_; }

private:
    PluginRoutine(HostAddress address, bool registeredWithHost)
        : address_(address), registeredWithHost_(registeredWithHost)
    {
    }
    static PluginRoutine registered(::ZudoPluginRoutine routine);
    template <class Pointer>
    static PluginRoutine atAddressOf(Pointer function)
    {
        const auto address = reinterpret_cast<std::uintptr_t>(function);
        return PluginRoutine(HostAddress(static_cast<std::uint32_t>(address)), false);
    }
    void release();

    HostAddress address_;
    bool registeredWithHost_ = false;
};

} // namespace zudo::util::mem
