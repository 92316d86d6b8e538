#include "util/mem/MemoryPatch.hpp"

#include <array>
#include <cstring>
#include <utility>

namespace zudo::util::mem {

// ---------------------------------------------------------------------------
// ProtectScope

ProtectScope::ProtectScope(void* address, std::size_t size, platform::Protection protection)
    : address_(address), size_(size)
{
    changed_ = platform::protectPages(address_, size_, protection, &previous_);
    forgetHostMemoryRegions(); // the pages no longer allow what they did
}

ProtectScope::~ProtectScope() { restore(); }

void ProtectScope::restore()
{
    if (changed_) {
        platform::protectPages(address_, size_, previous_, nullptr);
        forgetHostMemoryRegions();
        changed_ = false;
    }
}

// ---------------------------------------------------------------------------
// MemoryPatch

MemoryPatch::MemoryPatch(void* target, const void* bytes, std::size_t size)
    : MemoryPatch(target, bytes, size, true)
{
}

// The replacement host's memory is a buffer without page protection.
MemoryPatch::MemoryPatch(HostAddress target, const void* bytes, std::size_t size)
    : MemoryPatch(hostPointer(target, static_cast<std::uint32_t>(size)), bytes, size,
                  hostIsThisProcess())
{
}

MemoryPatch::MemoryPatch(void* target, const void* bytes, std::size_t size, bool protect)
    : target_(static_cast<std::uint8_t*>(target)),
      newBytes_(static_cast<const std::uint8_t*>(bytes),
                static_cast<const std::uint8_t*>(bytes) + size),
      oldBytes_(size), protect_(protect)
{
    oldBytesKnown_ = target_ != nullptr && copyUnderProtection(oldBytes_.data(), target_, size);
}

MemoryPatch::~MemoryPatch() { releaseApplied(); }

void MemoryPatch::releaseApplied()
{
    if (oldBytesKnown_ && isApplied()) {
        revert();
    }
}

MemoryPatch::MemoryPatch(MemoryPatch&& other) noexcept
    : target_(std::exchange(other.target_, nullptr)), newBytes_(std::move(other.newBytes_)),
      oldBytes_(std::move(other.oldBytes_)),
      oldBytesKnown_(std::exchange(other.oldBytesKnown_, false)), protect_(other.protect_)
{
}

MemoryPatch& MemoryPatch::operator=(MemoryPatch&& other) noexcept
{
    if (this != &other) {
        releaseApplied();
        target_ = std::exchange(other.target_, nullptr);
        newBytes_ = std::move(other.newBytes_);
        oldBytes_ = std::move(other.oldBytes_);
        oldBytesKnown_ = std::exchange(other.oldBytesKnown_, false);
        protect_ = other.protect_;
    }
    return *this;
}

bool MemoryPatch::copyUnderProtection(void* destination, const void* source,
                                      std::size_t size) const
{
    if (!protect_) {
        return platform::copyMemoryChecked(destination, source, size);
    }
    ProtectScope scope(target_, size);
    const bool copied = platform::copyMemoryChecked(destination, source, size);
    scope.restore();
    return copied;
}

bool MemoryPatch::isApplied() const
{
    if (target_ == nullptr || newBytes_.empty()) {
        return false;
    }
    std::vector<std::uint8_t> current(newBytes_.size());
    return copyUnderProtection(current.data(), target_, current.size()) && current == newBytes_;
}

bool MemoryPatch::apply()
{
    if (!oldBytesKnown_) {
        return false;
    }
    if (isApplied()) {
        return true;
    }
    copyUnderProtection(target_, newBytes_.data(), newBytes_.size());
    return isApplied();
}

bool MemoryPatch::revert()
{
    if (!isApplied()) {
        return true;
    }
    copyUnderProtection(target_, oldBytes_.data(), oldBytes_.size());
    return !isApplied();
}

// ---------------------------------------------------------------------------
// JumpPatch

namespace {

constexpr std::uint8_t relativeJump = 0xE9;
constexpr std::uint32_t relativeJumpSize = 5;

// The displacement's bytes as the processor reads them (little-endian).
std::array<std::uint8_t, 4> displacement(HostAddress code, HostAddress target)
{
    const std::uint32_t distance = target.value() - code.value() - relativeJumpSize; // modulo 2^32
    std::array<std::uint8_t, 4> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(distance >> (8 * i));
    }
    return bytes;
}

} // namespace

JumpPatch::JumpPatch(HostAddress code, HostAddress target)
    : opcode_(code, &relativeJump, 1), displacement_(code + 1, displacement(code, target).data(), 4)
{
}

// ---------------------------------------------------------------------------
// VTableClone

namespace {

bool readWord(HostAddress address, std::uint32_t& value)
{
    return !address.isNull() && address.tryReadBytes(0, &value, sizeof value);
}

bool writeWord(HostAddress address, std::uint32_t value)
{
    void* target = hostPointer(address, sizeof value);
    return target != nullptr && platform::copyMemoryChecked(target, &value, sizeof value);
}

} // namespace

VTableClone::VTableClone(HostAddress object, std::uint32_t slotCount)
    : object_(object), slotCount_(slotCount)
{
    std::uint32_t table = 0;
    if (slotCount == 0 || !readWord(object, table) || table == 0) {
        return;
    }
    std::vector<std::uint32_t> entries(slotCount);
    if (!HostAddress(table).tryReadBytes(0, entries.data(), slotCount * 4)) {
        return;
    }
    HostBlock clone(slotCount * 4);
    if (clone.address().isNull()) {
        return;
    }
    clone.address().writeBytes(0, entries.data(), slotCount * 4);
    original_ = HostAddress(table);
    clone_ = std::move(clone);
}

VTableClone::~VTableClone() { reset(); }

void VTableClone::reset()
{
    if (valid()) {
        restore();
    }
    clone_ = HostBlock();
    routines_.clear();
}

VTableClone::VTableClone(VTableClone&& other) noexcept
    : object_(other.object_), original_(other.original_), slotCount_(other.slotCount_),
      clone_(std::move(other.clone_)), routines_(std::move(other.routines_))
{
}

VTableClone& VTableClone::operator=(VTableClone&& other) noexcept
{
    if (this != &other) {
        reset();
        object_ = other.object_;
        original_ = other.original_;
        slotCount_ = other.slotCount_;
        clone_ = std::move(other.clone_);
        routines_ = std::move(other.routines_);
    }
    return *this;
}

HostAddress VTableClone::replace(std::uint32_t slotByteOffset, HostAddress function)
{
    const std::uint32_t slot = slotByteOffset >> 2;
    if (!valid() || slot >= slotCount_) {
        return HostAddress();
    }
    const HostAddress entry = clone_.address() + slot * 4;
    const HostAddress previous = entry.readAddress();
    entry.writeAddress(0, function);
    return previous;
}

HostAddress VTableClone::replace(std::uint32_t slotByteOffset, PluginRoutine routine)
{
    if (!valid() || (slotByteOffset >> 2) >= slotCount_) {
        return HostAddress();
    }
    const HostAddress previous = replace(slotByteOffset, routine.address());
    routines_.push_back(std::move(routine)); // the clone's entry needs it alive
    return previous;
}

bool VTableClone::install()
{
    return valid() && writeWord(object_, clone_.address().value());
}

bool VTableClone::isInstalled() const
{
    std::uint32_t table = 0;
    return valid() && readWord(object_, table) && table == clone_.address().value();
}

bool VTableClone::restore()
{
    if (!isInstalled()) {
        return true;
    }
    return writeWord(object_, original_.value());
}

} // namespace zudo::util::mem
