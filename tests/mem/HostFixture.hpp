#pragma once
// A host for each test. Natively: the replacement host, fresh and registered
// with the platform layer. In the Windows build the host is this process:
// "host memory" is memory of the test, and fixed addresses are resolved
// against a base the test chooses (ZudoExeModule::assumeLoadedAt).

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/Compiler.hpp"
#include "platform/Platform.hpp"
#include "util/mem/HostAddress.hpp"
#include "util/mem/MsvcLayout.hpp"
#include "util/mem/ZudoExeModule.hpp"

#if !ZUDO_HOST_IS_NATIVE
#include "sim/host/SimulatedHost.hpp"
#endif

namespace zudo::test {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
#if !ZUDO_HOST_IS_NATIVE
        sim::SimulatedHost::instance().reset();
        sim::SimulatedHost::instance().registerWithPlatform();
#endif
    }

    void TearDown() override
    {
        util::mem::ZudoExeModule::instance().assumeLoadedAt(util::mem::HostAddress());
        blocks_.clear();
#if !ZUDO_HOST_IS_NATIVE
        platform::registerReplacementHost(nullptr);
#endif
    }

    // Zero-filled host memory that lives until the end of the test.
    util::mem::HostAddress hostMemory(std::uint32_t size)
    {
        blocks_.emplace_back(size);
        const util::mem::HostAddress address = blocks_.back().address();
        EXPECT_FALSE(address.isNull()) << "no host memory for " << size << " bytes";
        return address;
    }

    util::mem::msvc::HostAllocator allocator()
    {
        return [this](std::uint32_t size) { return hostMemory(size); };
    }

private:
    std::vector<util::mem::HostBlock> blocks_;
};

} // namespace zudo::test
