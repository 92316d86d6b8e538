#pragma once
// Loading a 32-bit executable into this process by hand, so that its code can
// be called (the listing tool uses the game's own file system). Nothing of the
// image's own start-up runs; the caller does what the image needs.

#include <cstdint>
#include <ostream>
#include <string>

#include "util/mem/HostAddress.hpp"

namespace zudo::util::mem {

struct HandLoadedImage {
    HostAddress base; // null when the load failed
    std::uint32_t size = 0;
    std::string problem;
};

// Reads the file, lets the platform's library loader map it without resolving
// its references, makes that mapping execute-read-write, copies it into a new
// committed execute-read-write block and unloads the mapping; then resolves
// the imports on the copy (a library that cannot be loaded fails the load) and
// relocates it with the relocation table of the file. Relocated values outside
// the new image are reported on out ("out of reach: *pdw = 0x%08x") and fail
// the load. A failed load frees the block.
HandLoadedImage loadImageByHand(const std::string& path, std::ostream& out);

// Frees an image that loadImageByHand gave (tests; the game stays loaded).
void unloadImageByHand(const HandLoadedImage& image);

} // namespace zudo::util::mem
