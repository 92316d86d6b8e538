#include "util/mem/MsvcLayout.hpp"

#include <algorithm>

namespace zudo::util::mem::msvc {

namespace {

// A red-black tree of 2^32 elements is at most 64 levels deep: a walk that
// goes deeper is going round in circles in broken memory.
constexpr int maxTreeDepth = 64;

std::uint32_t stringLength(HostAddress address)
{
    return address.read<std::uint32_t>(string_layout::length);
}

int compareBytes(std::string_view left, std::string_view right)
{
    return left.compare(right); // char_traits<char>: unsigned byte order, like the host's
}

} // namespace

std::string readString(HostAddress address)
{
    const std::uint32_t length = stringLength(address);
    const std::uint32_t capacity = address.read<std::uint32_t>(string_layout::capacity);
    // Only the empty string may have capacity 0 (a zero-filled object, never
    // constructed): any other size would be copied from past the buffer.
    if (length > maxStringLength || length > capacity) {
        throw HostAccessError("no host string at " + address.text() + ": size " +
                              std::to_string(length) + ", capacity " + std::to_string(capacity));
    }
    std::string text(length, '\0');
    // A zero-filled object (capacity 0) reads as the empty string it would be.
    if (capacity <= string_layout::inlineCapacity) {
        address.readBytes(string_layout::buffer, text.data(), length);
    } else {
        address.readAddress(string_layout::buffer).readBytes(0, text.data(), length);
    }
    return text;
}

MapReader::MapReader(HostAddress map, std::uint32_t valueSize) : map_(map), valueSize_(valueSize) {}

std::uint32_t MapReader::size() const { return map_.read<std::uint32_t>(map_layout::count); }

HostAddress MapReader::head() const { return map_.readAddress(map_layout::head); }

bool MapReader::isNil(HostAddress node) const
{
    return node.isNull() || node.read<std::uint8_t>(map_layout::nodeValue + valueSize_ + 1) != 0;
}

std::vector<HostAddress> MapReader::values() const
{
    const std::uint32_t count = size();
    std::vector<HostAddress> result;
    const HostAddress headNode = head();
    if (headNode.isNull()) {
        return result; // a zero-filled map object: never constructed, empty
    }
    // In-order walk with an explicit stack of the nodes whose left side is done.
    std::vector<HostAddress> pending;
    HostAddress node = headNode.readAddress(map_layout::nodeParent);
    while (!isNil(node) || !pending.empty()) {
        while (!isNil(node)) {
            if (pending.size() >= maxTreeDepth) {
                throw HostAccessError("host map at " + map_.text() + " is deeper than a tree can be");
            }
            pending.push_back(node);
            node = node.readAddress(map_layout::nodeLeft);
        }
        node = pending.back();
        pending.pop_back();
        if (result.size() == count) {
            throw HostAccessError("host map at " + map_.text() + " holds more than its size " +
                                  std::to_string(count));
        }
        result.push_back(node + map_layout::nodeValue);
        node = node.readAddress(map_layout::nodeRight);
    }
    if (result.size() != count) {
        throw HostAccessError("host map at " + map_.text() + " holds " +
                              std::to_string(result.size()) + " elements, its size says " +
                              std::to_string(count));
    }
    return result;
}

HostAddress MapReader::findStringKey(std::string_view key) const
{
    const HostAddress headNode = head();
    if (headNode.isNull()) {
        return HostAddress();
    }
    // lower_bound: the first node whose key is not less than key.
    HostAddress candidate;
    HostAddress node = headNode.readAddress(map_layout::nodeParent);
    for (int depth = 0; !isNil(node); ++depth) {
        if (depth == maxTreeDepth) {
            throw HostAccessError("host map at " + map_.text() + " is deeper than a tree can be");
        }
        if (compareBytes(readString(node + map_layout::nodeValue), key) < 0) {
            node = node.readAddress(map_layout::nodeRight);
        } else {
            candidate = node;
            node = node.readAddress(map_layout::nodeLeft);
        }
    }
    if (candidate.isNull() || readString(candidate + map_layout::nodeValue) != key) {
        return HostAddress();
    }
    return candidate + map_layout::nodeValue;
}

// ---------------------------------------------------------------------------

void writeString(HostAddress address, std::string_view text, const HostAllocator& allocate)
{
    const auto length = static_cast<std::uint32_t>(text.size());
    std::uint8_t zeros[string_layout::size] = {};
    address.writeBytes(0, zeros, sizeof zeros);
    address.write<std::uint32_t>(string_layout::length, length);
    if (length <= string_layout::inlineCapacity) {
        address.write<std::uint32_t>(string_layout::capacity, string_layout::inlineCapacity);
        address.writeBytes(string_layout::buffer, text.data(), length);
        return;
    }
    const HostAddress characters = allocate(length + 1);
    if (characters.isNull()) {
        throw HostAccessError("no host memory for a string of " + std::to_string(length));
    }
    characters.writeBytes(0, text.data(), length);
    characters.write<std::uint8_t>(length, 0);
    address.write<std::uint32_t>(string_layout::capacity, length);
    address.writeAddress(string_layout::buffer, characters);
}

namespace {

struct TreeBuilder {
    std::uint32_t valueSize;
    const std::vector<MapEntry>& entries;
    const HostAllocator& allocate;
    HostAddress head;
    int redDepth; // the incomplete last level, whose nodes are red

    void setLinks(HostAddress node, HostAddress left, HostAddress parent, HostAddress right) const
    {
        node.writeAddress(map_layout::nodeLeft, left);
        node.writeAddress(map_layout::nodeParent, parent);
        node.writeAddress(map_layout::nodeRight, right);
    }

    // The subtree of entries [first, last) below parent; head when empty.
    HostAddress build(std::size_t first, std::size_t last, HostAddress parent, int depth) const
    {
        if (first == last) {
            return head;
        }
        const std::size_t middle = first + (last - first) / 2;
        const HostAddress node = allocate(map_layout::nodeValue + valueSize + 2);
        if (node.isNull()) {
            throw HostAccessError("no host memory for a map node");
        }
        entries[middle].writeValue(node + map_layout::nodeValue);
        node.write<std::uint8_t>(map_layout::nodeValue + valueSize,
                                 depth == redDepth ? map_layout::red : map_layout::black);
        node.write<std::uint8_t>(map_layout::nodeValue + valueSize + 1, 0);
        const HostAddress left = build(first, middle, node, depth + 1);
        const HostAddress right = build(middle + 1, last, node, depth + 1);
        setLinks(node, left, parent, right);
        return node;
    }
};

int fullLevels(std::size_t count)
{
    int levels = 0;
    while ((std::size_t{2} << levels) - 1 <= count) {
        ++levels;
    }
    return levels;
}

HostAddress extreme(HostAddress root, HostAddress head, std::uint32_t side)
{
    if (root == head) {
        return head;
    }
    HostAddress node = root;
    while (node.readAddress(side) != head) {
        node = node.readAddress(side);
    }
    return node;
}

} // namespace

void writeMap(HostAddress address, std::uint32_t valueSize, const std::vector<MapEntry>& entries,
              const HostAllocator& allocate)
{
    const HostAddress head = allocate(map_layout::nodeValue + valueSize + 2);
    if (head.isNull()) {
        throw HostAccessError("no host memory for a map head");
    }
    head.write<std::uint8_t>(map_layout::nodeValue + valueSize, map_layout::black);
    head.write<std::uint8_t>(map_layout::nodeValue + valueSize + 1, 1);
    const TreeBuilder builder{valueSize, entries, allocate, head, fullLevels(entries.size())};
    const HostAddress root = builder.build(0, entries.size(), head, 0);
    builder.setLinks(head, extreme(root, head, map_layout::nodeLeft), root,
                     extreme(root, head, map_layout::nodeRight));
    address.write<std::uint32_t>(0, 0);
    address.writeAddress(map_layout::head, head);
    address.write<std::uint32_t>(map_layout::count, static_cast<std::uint32_t>(entries.size()));
}

void writeStringMap(HostAddress address, std::vector<std::pair<std::string, std::string>> entries,
                    const HostAllocator& allocate)
{
    std::sort(entries.begin(), entries.end());
    std::vector<MapEntry> nodes;
    nodes.reserve(entries.size());
    for (const auto& [key, value] : entries) {
        nodes.push_back({[&, k = key, v = value](HostAddress at) {
            writeString(at, k, allocate);
            writeString(at + mappedOffsetAfterStringKey, v, allocate);
        }});
    }
    writeMap(address, stringPairSize, nodes, allocate);
}

} // namespace zudo::util::mem::msvc
