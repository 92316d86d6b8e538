#pragma once
// The host's standard-library objects, read byte by byte. The host was built
// with MSVC's 32-bit library of the generation whose narrow string is 28 bytes;
// its layouts differ from ours, so host strings and maps are never cast to our
// own types. The readers copy what they find; the plug-in never changes host
// strings or maps. The writers build the same layouts, for the replacement
// host and for tests.
//
// std::string (28 bytes):
//   +0   allocator slot (4 bytes, not used)
//   +4   16 bytes: the characters themselves (NUL-ended) while capacity < 16,
//        otherwise a 32-bit pointer to them in the first 4 bytes
//   +20  size (32-bit, characters without the NUL)
//   +24  capacity (32-bit; 15 for a string that never grew)
//
// std::map and std::set (12 bytes): a red-black tree with a head node.
//   +0   allocator slot (4 bytes, not used)
//   +4   pointer to the head node
//   +8   size (number of elements)
// Node: +0 left, +4 parent, +8 right (32-bit pointers), +12 the value (key,
// then the mapped value, as std::pair lays them out), then one byte colour
// (0 red, 1 black) and one byte "is nil" (1 only for the head node). The head
// node's parent is the root, its left the smallest and its right the largest
// element; children that are missing point to the head node. A map from
// std::string therefore has its key at +12 and the mapped value at +40.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "util/mem/HostAddress.hpp"

namespace zudo::util::mem::msvc {

namespace string_layout {
inline constexpr std::uint32_t size = 28;
inline constexpr std::uint32_t buffer = 4;
inline constexpr std::uint32_t length = 20;
inline constexpr std::uint32_t capacity = 24;
inline constexpr std::uint32_t inlineCapacity = 15; // characters held in the buffer itself
} // namespace string_layout

namespace map_layout {
inline constexpr std::uint32_t size = 12;
inline constexpr std::uint32_t head = 4;
inline constexpr std::uint32_t count = 8;
inline constexpr std::uint32_t nodeLeft = 0;
inline constexpr std::uint32_t nodeParent = 4;
inline constexpr std::uint32_t nodeRight = 8;
inline constexpr std::uint32_t nodeValue = 12;
// Colour and "is nil" follow the value: at nodeValue + valueSize and one more.
inline constexpr std::uint8_t red = 0;
inline constexpr std::uint8_t black = 1;
} // namespace map_layout

// Longest host string the reader accepts: far beyond any name or path the
// host keeps, so that a broken string cannot make the plug-in copy gigabytes.
inline constexpr std::uint32_t maxStringLength = 1u << 20;

// A copy of the host string at address. Throws HostAccessError when its size
// exceeds its capacity or maxStringLength (not a string), and when it reaches
// memory that cannot be read.
std::string readString(HostAddress address);

// An ordered map of the host. valueSize is the size of the node's value (the
// key and the mapped value together, with MSVC's padding).
class MapReader {
public:
    MapReader(HostAddress map, std::uint32_t valueSize);

    std::uint32_t size() const;
    // The node values in key order (address of each node's value: the key,
    // followed by the mapped value). Throws HostAccessError when the tree does
    // not hold as many elements as its size says or loops.
    std::vector<HostAddress> values() const;
    // For maps whose key is a std::string: the address of the value whose key
    // equals key (compared as bytes, as std::less<std::string> does), or null.
    HostAddress findStringKey(std::string_view key) const;

private:
    HostAddress head() const;
    bool isNil(HostAddress node) const;

    HostAddress map_;
    std::uint32_t valueSize_;
};

// Value size of a map<std::string, std::string>, and where its mapped string is.
inline constexpr std::uint32_t stringPairSize = 2 * string_layout::size;
inline constexpr std::uint32_t mappedOffsetAfterStringKey = string_layout::size;

// ---------------------------------------------------------------------------
// Writers: they lay out fresh objects in host memory taken from allocate (one
// call per separate block; the blocks must stay alive as long as the object).

using HostAllocator = std::function<HostAddress(std::uint32_t size)>;

// Writes a string object at address; a text longer than 15 characters gets a
// buffer of its own from allocate.
void writeString(HostAddress address, std::string_view text, const HostAllocator& allocate);

// Builds a map object at address from entries in ascending key order. Each
// entry's writeValue fills the node's value (of valueSize bytes) at the given
// address. The tree is balanced; every node is black except those of an
// incomplete last level, which are red, so it is a valid red-black tree.
struct MapEntry {
    std::function<void(HostAddress value)> writeValue;
};
void writeMap(HostAddress address, std::uint32_t valueSize, const std::vector<MapEntry>& entries,
              const HostAllocator& allocate);

// A map<std::string, std::string> from pairs (sorted by the writer).
void writeStringMap(HostAddress address, std::vector<std::pair<std::string, std::string>> entries,
                    const HostAllocator& allocate);

} // namespace zudo::util::mem::msvc
