#pragma once
// What the fuzz targets share: a scratch installation of the game for the
// readers that take their data from files, and the split of one input into
// the several texts a reader needs.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zudo::fuzz {

// The input cut at each line "%%" into at most count parts (the last one
// keeps the rest, separators included); missing parts are empty. Seeds stay
// readable text this way.
std::vector<std::string> splitInput(const std::uint8_t* data, std::size_t size, std::size_t count);

// A game directory of its own for the process, made on first use in /dev/shm
// (or the temporary directory) and removed at exit: the current directory and the
// directory of the game's executable, so that every relative path of the
// system (Maps/, Plugins/Zuzuzevo/, SavedGames/) lies inside it.
class ScratchInstallation {
public:
    static ScratchInstallation& instance();

    const std::string& root() const { return root_; }
    // root/relative, written whole (binary, parent directories made).
    std::string write(const std::string& relative, std::string_view content) const;
    void remove(const std::string& relative) const;

private:
    ScratchInstallation();
    ~ScratchInstallation();
    std::string root_;
};

} // namespace zudo::fuzz
