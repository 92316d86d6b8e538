// The host's std::string and std::map, read from memory laid out by hand with
// the byte offsets of MSVC's 32-bit library (string: +4 buffer or pointer,
// +20 size, +24 capacity; map: +4 head, +8 size; node: left, parent, right,
// value at +12, then colour and "is nil").

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/HostTest.hpp"
#include "util/mem/MsvcLayout.hpp"

namespace {

using zudo::util::mem::HostAccessError;
using zudo::util::mem::HostAddress;
namespace msvc = zudo::util::mem::msvc;

class MsvcLayout : public zudo::test::HostTest {
protected:
    // A string object written field by field, without the writer under test.
    HostAddress handString(const std::string& text, std::uint32_t capacity)
    {
        const HostAddress object = hostMemory(28);
        object.write<std::uint32_t>(20, static_cast<std::uint32_t>(text.size()));
        object.write<std::uint32_t>(24, capacity);
        if (capacity < 16) {
            object.writeBytes(4, text.data(), static_cast<std::uint32_t>(text.size()));
        } else {
            const HostAddress characters = hostMemory(capacity + 1);
            characters.writeBytes(0, text.data(), static_cast<std::uint32_t>(text.size()));
            object.writeAddress(4, characters);
        }
        return object;
    }

    // A node of a map<string, string>: value 56 bytes, colour at +68, nil at +69.
    HostAddress handNode(const std::string& key, const std::string& value)
    {
        const HostAddress node = hostMemory(72);
        const HostAddress keyString = handString(key, 15);
        const HostAddress valueString = handString(value, 15);
        std::uint8_t bytes[28];
        keyString.readBytes(0, bytes, 28);
        node.writeBytes(12, bytes, 28);
        valueString.readBytes(0, bytes, 28);
        node.writeBytes(40, bytes, 28);
        node.write<std::uint8_t>(68, 1);
        return node;
    }

    static void link(HostAddress node, HostAddress left, HostAddress parent, HostAddress right)
    {
        node.writeAddress(0, left);
        node.writeAddress(4, parent);
        node.writeAddress(8, right);
    }

    // The map {"a": "1", "b": "2", "c": "3"} with "b" at the root.
    HostAddress handMap()
    {
        const HostAddress map = hostMemory(12);
        head = hostMemory(72);
        head.write<std::uint8_t>(69, 1);
        nodeA = handNode("a", "1");
        nodeB = handNode("b", "2");
        nodeC = handNode("c", "3");
        link(head, nodeA, nodeB, nodeC);
        link(nodeB, nodeA, head, nodeC);
        link(nodeA, head, nodeB, head);
        link(nodeC, head, nodeB, head);
        map.writeAddress(4, head);
        map.write<std::uint32_t>(8, 3);
        return map;
    }

    HostAddress head, nodeA, nodeB, nodeC;
};

TEST_F(MsvcLayout, ReadsStringsHeldInlineAndThroughAPointer)
{
    struct Case {
        std::string text;
        std::uint32_t capacity;
    };
    const std::vector<Case> cases{
        {"", 15},
        {"hello", 15},
        {"exactly15chars!", 15},
        {"sixteen chars!!!", 16},
        {std::string("a\0b", 3), 15},
        {"a longer text beyond the buffer", 47},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(msvc::readString(handString(c.text, c.capacity)), c.text);
    }
}

TEST_F(MsvcLayout, ZeroFilledStringIsEmptyAndBrokenStringIsRejected)
{
    EXPECT_EQ(msvc::readString(hostMemory(28)), "");

    const HostAddress tooLong = handString("abc", 15);
    tooLong.write<std::uint32_t>(20, 40); // size beyond its capacity
    EXPECT_THROW(msvc::readString(tooLong), HostAccessError);

    // Capacity 0 is a zero-filled object: any size but 0 would be copied from
    // past the 16-byte buffer, out of the objects that follow it.
    for (const std::uint32_t size : {1u, 16u, 200u}) {
        SCOPED_TRACE(size);
        const HostAddress unconstructed = hostMemory(28 + 256);
        unconstructed.write<std::uint32_t>(20, size);
        EXPECT_THROW(msvc::readString(unconstructed), HostAccessError);
    }

    const HostAddress huge = handString("abc", 15);
    huge.write<std::uint32_t>(24, 0xFFFFFFF0u); // would be read through a pointer
    huge.write<std::uint32_t>(20, 0x7FFFFFFFu);
    EXPECT_THROW(msvc::readString(huge), HostAccessError);
}

TEST_F(MsvcLayout, WriterUsesTheBufferUpToFifteenCharacters)
{
    const HostAddress inlineString = hostMemory(28);
    msvc::writeString(inlineString, "exactly15chars!", allocator());
    EXPECT_EQ(inlineString.read<std::uint32_t>(20), 15u);
    EXPECT_EQ(inlineString.read<std::uint32_t>(24), 15u);
    char buffer[16] = {};
    inlineString.readBytes(4, buffer, 16);
    EXPECT_STREQ(buffer, "exactly15chars!");

    const HostAddress pointerString = hostMemory(28);
    msvc::writeString(pointerString, "sixteen chars!!!", allocator());
    EXPECT_EQ(pointerString.read<std::uint32_t>(20), 16u);
    EXPECT_GE(pointerString.read<std::uint32_t>(24), 16u);
    pointerString.readAddress(4).readBytes(0, buffer, 16);
    EXPECT_EQ(std::string(buffer, 16), "sixteen chars!!!");
}

TEST_F(MsvcLayout, MapReaderFindsKeysOfAHandBuiltTree)
{
    const msvc::MapReader reader(handMap(), msvc::stringPairSize);
    EXPECT_EQ(reader.size(), 3u);
    const std::vector<std::pair<std::string, std::string>> found{{"a", "1"}, {"b", "2"}, {"c", "3"}};
    for (const auto& [key, value] : found) {
        SCOPED_TRACE(key);
        const HostAddress entry = reader.findStringKey(key);
        ASSERT_FALSE(entry.isNull());
        EXPECT_EQ(msvc::readString(entry + 28), value);
    }
    for (const std::string missing : {"", "A", "bb", "ab", "d"}) {
        SCOPED_TRACE(missing);
        EXPECT_TRUE(reader.findStringKey(missing).isNull());
    }
    const std::vector<HostAddress> values = reader.values();
    EXPECT_EQ(values, (std::vector<HostAddress>{nodeA + 12, nodeB + 12, nodeC + 12}));
}

TEST_F(MsvcLayout, MapReaderRejectsTreesThatDisagreeWithTheirSize)
{
    const HostAddress map = handMap();
    {
        SCOPED_TRACE("size says 2, tree holds 3");
        map.write<std::uint32_t>(8, 2);
        EXPECT_THROW(msvc::MapReader(map, msvc::stringPairSize).values(), HostAccessError);
    }
    {
        SCOPED_TRACE("a node whose left child is itself");
        map.write<std::uint32_t>(8, 3);
        nodeA.writeAddress(0, nodeA);
        EXPECT_THROW(msvc::MapReader(map, msvc::stringPairSize).values(), HostAccessError);
        EXPECT_THROW(msvc::MapReader(map, msvc::stringPairSize).findStringKey(""), HostAccessError);
    }
}

TEST_F(MsvcLayout, ZeroFilledMapIsEmpty)
{
    const msvc::MapReader reader(hostMemory(12), msvc::stringPairSize);
    EXPECT_EQ(reader.size(), 0u);
    EXPECT_TRUE(reader.values().empty());
    EXPECT_TRUE(reader.findStringKey("a").isNull());
}

TEST_F(MsvcLayout, WrittenMapsHoldTheirEntriesInKeyOrder)
{
    for (const int count : {0, 1, 2, 3, 4, 7, 10, 31}) {
        SCOPED_TRACE(count);
        std::vector<std::pair<std::string, std::string>> entries;
        for (int i = count - 1; i >= 0; --i) { // the writer sorts them
            entries.emplace_back("key" + std::to_string(100 + i), "value" + std::to_string(i));
        }
        const HostAddress map = hostMemory(12);
        msvc::writeStringMap(map, entries, allocator());

        const HostAddress headNode = map.readAddress(4);
        EXPECT_EQ(headNode.read<std::uint8_t>(69), 1);
        if (count > 0) {
            EXPECT_EQ(headNode.readAddress(4).readAddress(4), headNode) << "the root's parent";
            EXPECT_EQ(msvc::readString(headNode.readAddress(0) + 12), "key100");
            EXPECT_EQ(msvc::readString(headNode.readAddress(8) + 12),
                      "key" + std::to_string(100 + count - 1));
        }
        const msvc::MapReader reader(map, msvc::stringPairSize);
        const std::vector<HostAddress> values = reader.values();
        ASSERT_EQ(values.size(), static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(msvc::readString(values[i]), "key" + std::to_string(100 + i));
            EXPECT_EQ(msvc::readString(reader.findStringKey("key" + std::to_string(100 + i)) + 28),
                      "value" + std::to_string(i));
        }
        EXPECT_TRUE(reader.findStringKey("key099").isNull());
    }
}

} // namespace
