#include "io/DirList.hpp"

#include <boost/algorithm/string/predicate.hpp>

#include <cerrno>
#include <locale>
#include <utility>

#include "platform/Platform.hpp"
#include "util/Exception.hpp"

namespace zudo::io {

namespace {

std::string textBefore(const std::string& pattern, std::string::size_type position)
{
    return position == std::string::npos ? std::string() : pattern.substr(0, position);
}

std::string textAfter(const std::string& pattern, std::string::size_type position)
{
    return position == std::string::npos ? pattern : pattern.substr(position + 1);
}

bool isDotEntry(const std::string& name) { return name == "." || name == ".."; }

} // namespace

DirList::DirList(const std::string& pattern)
{
    spec_.pattern = pattern;
}

DirList::DirList(DirListSpec spec) : spec_(std::move(spec)) {}

DirList::~DirList() = default;

const std::deque<File>& DirList::files()
{
    if (!read_) {
        readDir();
    }
    return files_;
}

void DirList::readDir()
{
    files_.clear();
    read_ = true;

    platform::DirectorySearch search; // closes the search on every way out
    platform::FindData entry;
    if (!search.first(spec_.pattern, entry)) {
        const int error = search.errorNumber();
        if (error == ENOENT) {
            return;
        }
        throw Exception("scan dir failed: " + spec_.pattern + " errno: " +
                            std::to_string(error) + " - " + platform::errorText(error),
                        "zudo::io::DirList::readDir()");
    }

    const auto lastSeparator = spec_.pattern.find_last_of("\\/");
    const File base(textBefore(spec_.pattern, lastSeparator));
    const std::string wildcard = textAfter(spec_.pattern, lastSeparator);
    do {
        if (isDotEntry(entry.name) || isExcluded(entry.name)) {
            continue;
        }
        const File found(base, entry.name);
        if (entry.directory) {
            if (spec_.listDirectories) {
                files_.push_back(found);
            }
            if (spec_.recursive && !wildcard.empty()) {
                listSubdirectory(found, wildcard);
            }
        } else if (spec_.listFiles) {
            files_.push_back(found);
        }
    } while (search.next(entry));
}

bool DirList::isExcluded(const std::string& name) const
{
    for (const File& excluded : spec_.excluded) {
        if (boost::algorithm::iequals(excluded.name(), name, std::locale::classic())) {
            return true;
        }
    }
    return false;
}

void DirList::listSubdirectory(const File& directory, const std::string& wildcard)
{
    DirListSpec below = spec_;
    below.pattern = File(directory, wildcard).fullPath();
    DirList sub(std::move(below));
    const auto& found = sub.files();
    files_.insert(files_.end(), found.begin(), found.end());
}

} // namespace zudo::io
