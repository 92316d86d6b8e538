#pragma once
// Changing the host: byte patches of its code and clones of its virtual
// tables. Both keep what they replaced and put it back; every fault inside
// them (an address that is not mapped, a page that cannot be made writable) is
// caught and reported as false, never passed on to the host.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Platform.hpp"
#include "util/mem/HostAddress.hpp"
#include "util/mem/HostCall.hpp"

namespace zudo::util::mem {

// Makes a range of this process's memory accessible for as long as it lives
// (the system always asks for execute-read-write) and then puts the previous
// protection back. A failing change is not reported beyond the platform's
// last-error value: the access that follows then fails and is caught.
class ProtectScope {
public:
    ProtectScope(void* address, std::size_t size,
                 platform::Protection protection = platform::Protection::ExecuteReadWrite);
    ~ProtectScope();
    ProtectScope(const ProtectScope&) = delete;
    ProtectScope& operator=(const ProtectScope&) = delete;

    // Puts the previous protection back now (once).
    void restore();
    bool changed() const { return changed_; }

private:
    void* address_;
    std::size_t size_;
    platform::Protection previous_ = platform::Protection::NoAccess;
    bool changed_ = false;
};

// New bytes for a piece of memory, with the bytes they replace. Both copies
// are taken at construction (the old ones under a ProtectScope); when the
// target cannot be read then, the patch can never be applied. A patch that is
// applied when it is destroyed is reverted.
class MemoryPatch {
public:
    // A target of this process's memory.
    MemoryPatch(void* target, const void* bytes, std::size_t size);
    // A target in the host (natively in the replacement host's memory, which
    // has no page protection of its own).
    MemoryPatch(HostAddress target, const void* bytes, std::size_t size);
    ~MemoryPatch();
    MemoryPatch(MemoryPatch&& other) noexcept;
    MemoryPatch& operator=(MemoryPatch&& other) noexcept;
    MemoryPatch(const MemoryPatch&) = delete;
    MemoryPatch& operator=(const MemoryPatch&) = delete;

    // Whether the target holds the new bytes; false when it cannot be read.
    bool isApplied() const;
    // Writes the new bytes unless they are there already; true when they are
    // there afterwards.
    bool apply();
    // Writes the saved bytes back if the patch is applied; true when it is not
    // applied afterwards.
    bool revert();

private:
    MemoryPatch(void* target, const void* bytes, std::size_t size, bool protect);
    bool copyUnderProtection(void* destination, const void* source, std::size_t size) const;
    void releaseApplied();

    std::uint8_t* target_ = nullptr;
    std::vector<std::uint8_t> newBytes_;
    std::vector<std::uint8_t> oldBytes_;
    bool oldBytesKnown_ = false;
    bool protect_ = true;
};

// A relative jump written over the start of host code: the byte E9, then the
// 32-bit displacement target - code - 5, as two patches of 1 and 4 bytes.
class JumpPatch {
public:
    JumpPatch(HostAddress code, HostAddress target);

    bool isApplied() const { return opcode_.isApplied() && displacement_.isApplied(); }
    bool apply() { return opcode_.apply() && displacement_.apply(); }
    bool revert() { return displacement_.revert() && opcode_.revert(); }

private:
    MemoryPatch opcode_;
    MemoryPatch displacement_;
};

// A plug-in-owned copy of a host object's virtual table with some entries
// replaced, and the object whose table pointer is pointed at it.
class VTableClone {
public:
    VTableClone() = default;
    // Copies slotCount entries of the object's table. valid() tells whether
    // that worked (object and table readable, host memory for the clone).
    VTableClone(HostAddress object, std::uint32_t slotCount);
    // Restores the object's own table (if it still uses the clone).
    ~VTableClone();
    VTableClone(VTableClone&& other) noexcept;
    VTableClone& operator=(VTableClone&& other) noexcept;
    VTableClone(const VTableClone&) = delete;
    VTableClone& operator=(const VTableClone&) = delete;

    bool valid() const { return !clone_.address().isNull(); }
    HostAddress object() const { return object_; }
    HostAddress originalTable() const { return original_; }
    HostAddress cloneTable() const { return clone_.address(); }

    // Replaces the entry at slotByteOffset (slot number times 4; the two low
    // bits are ignored) and returns the previous entry; null when the slot is
    // outside the clone (nothing is replaced then).
    HostAddress replace(std::uint32_t slotByteOffset, HostAddress function);
    // The same with a plug-in routine, which the clone keeps alive.
    HostAddress replace(std::uint32_t slotByteOffset, PluginRoutine routine);

    // Points the object at the clone / back at its own table. False when the
    // object cannot be written.
    bool install();
    bool restore();
    bool isInstalled() const;

private:
    void reset();

    HostAddress object_;
    HostAddress original_;
    std::uint32_t slotCount_ = 0;
    HostBlock clone_;
    std::vector<PluginRoutine> routines_;
};

} // namespace zudo::util::mem
