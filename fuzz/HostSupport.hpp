#pragma once
// The replacement host for fuzz targets whose readers put what they read into
// host memory: fresh, registered with the host access layer, with the fakes of
// the host's car damage routines.

#include "platform/Platform.hpp"
#include "sim/host/CarDamageFakes.hpp"
#include "sim/host/SimulatedHost.hpp"

namespace zudo::fuzz {

inline void useReplacementHost()
{
    sim::SimulatedHost& host = sim::SimulatedHost::instance();
    host.reset();
    host.registerAsHost();
    sim::registerCarDamageFakes(host);
}

} // namespace zudo::fuzz
