#include "host/BenchHost.hpp"
#include "sim/host/SimulatedHost.hpp"

namespace zudo::bench {
void attachBenchHost() { sim::SimulatedHost::instance().registerAsHost(); }
} // namespace zudo::bench
