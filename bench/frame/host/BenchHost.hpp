#pragma once
// The build's half of a benchmark that reads host memory (host/, chosen by CMake).

namespace zudo::bench {
// Makes host memory available to this program: inside a Windows process its
// own memory is host memory; natively the simulator's replacement host.
void attachBenchHost();
} // namespace zudo::bench
