#pragma once
// Named, typed bindings of fixed host addresses. A binding says where a host
// object, routine or piece of code is (the address at its module's preferred
// base), what it is, and for routines how they are called. The bindings
// themselves are listed in one table, Bindings.hpp.
//
// Some routines the system needs are named without a known address: such a
// binding is unknown. Inside the game an unknown binding is never called
// (callers ask available() and fall back); the replacement host may supply a
// fake for it under the binding's name.

#include <cstdint>
#include <string_view>

#include "util/mem/HostCall.hpp"
#include "util/mem/ModuleAddress.hpp"

namespace zudo::util::mem {

enum class BindingKind : std::uint8_t {
    ObjectPointer, // the address holds a pointer to a host object, read at each use
    Object,        // the host object (or table) lies at the address itself
    Routine,       // a host routine that is called
    Code,          // host code that is patched
};

inline constexpr std::uint32_t unknownAddress = 0;

struct BindingInfo {
    const char* name;          // also the name of a replacement-host fake for unknown bindings
    std::uint32_t address;     // at the module's preferred base; unknownAddress when not known
    HostModule module;
    BindingKind kind;
    CallingConvention convention; // routines only
    std::string_view use;

    constexpr bool isKnown() const { return address != unknownAddress; }
};

// The binding's current address: null when it is unknown or its module is not
// there.
HostAddress resolve(const BindingInfo& binding);

// A pointer kept by the host at a fixed address.
struct ObjectPointerBinding {
    BindingInfo info;
    // The object the pointer points at now; null when the binding cannot be
    // resolved or the host holds a null pointer.
    HostAddress object() const;
};

// A host object, table or record lying at a fixed address.
struct ObjectBinding {
    BindingInfo info;
    HostAddress address() const { return resolve(info); }
};

// Host code that the system patches.
struct CodeBinding {
    BindingInfo info;
    HostAddress address() const { return resolve(info); }
};

// Whether a routine binding can be called now: known and its module there
// (inside the game), or a fake registered by address or name (replacement host).
bool routineAvailable(const BindingInfo& binding);

// A member routine of a host object (thiscall): R(A...) without the object.
template <class Signature>
struct MemberRoutine;

template <class R, class... A>
struct MemberRoutine<R(A...)> {
    BindingInfo info;

    bool available() const { return routineAvailable(info); }
    HostResult<R> operator()(HostAddress self, A... args) const
    {
        if (!info.isKnown()) {
            return callNamedHostRoutine<R>(info.name, self, args...);
        }
        return callHostRoutine<R>(CallingConvention::Thiscall, resolve(info), self, args...);
    }
};

// A free routine (cdecl, or stdcall as the binding says).
template <class Signature>
struct FreeRoutine;

template <class R, class... A>
struct FreeRoutine<R(A...)> {
    BindingInfo info;

    bool available() const { return routineAvailable(info); }
    HostResult<R> operator()(A... args) const
    {
        if (!info.isKnown()) {
            return callNamedHostRoutine<R>(info.name, HostAddress(), args...);
        }
        return callHostRoutine<R>(info.convention, resolve(info), HostAddress(), args...);
    }
};

} // namespace zudo::util::mem
