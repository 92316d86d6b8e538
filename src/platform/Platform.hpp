#pragma once
// The platform layer: every operating-system service the system uses, behind
// one set of declarations. Two implementations sit beside this header:
// win32/ calls the real Windows and C runtime functions; posix/ reproduces what
// the system relies on from Windows (private-profile semantics, wildcard
// matching and paths that ignore letter case, "\\" and "/" as separators).
// No other code includes <windows.h> or POSIX headers.
//
// Paths: every function takes paths as the system writes them, with "\\" or
// "/" and in any letter case. Natively they are resolved against the disk the
// way Windows would (an existing entry whose name differs only in case is
// found). Hand a path to the C or C++ standard library only through
// nativePath().

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zudo::platform {

// ---------------------------------------------------------------------------
// Private-profile (ini) files, with the semantics of GetPrivateProfileStringA
// and WritePrivateProfileStringA.

// Reads a value into buffer (size characters including the final NUL) and
// returns the number of characters copied, not counting the NUL:
// - section and key given: the trimmed value (quotes around it removed), or
//   defaultValue (trailing blanks cut) when the key is missing; a value longer
//   than the buffer is cut to size - 1 characters;
// - section null: all section names, each NUL-ended, then one more NUL;
// - key null: all key names of the section, the same way (the default value
//   instead when the section has none).
// A listing that does not fit is cut inside its last name, ends in two NULs
// and returns size - 2 (also when only the final NUL had no room).
// Letter case of names is ignored, the first of duplicate sections and keys
// wins, listings are in file order and show duplicates. ";" starts a comment
// line, nothing else does. A missing file reads like an empty one.
std::uint32_t profileString(const char* section, const char* key, const char* defaultValue,
                            char* buffer, std::uint32_t size, const std::string& file);

// Writes one value; creates the file and the section when missing and changes
// only the affected line (an existing key keeps its spelling). A null value
// removes the key, a null key the whole section. Returns false on failure
// (e.g. a missing directory, which is never created). The POSIX
// implementation replaces the file atomically.
bool writeProfileString(const char* section, const char* key, const char* value,
                        const std::string& file);

// GetPrivateProfileSectionA: the entries of one section in file order, each
// "name=value" (blanks around both removed; a line without "=" gives its text
// alone) and NUL-ended, then one more NUL; cut like a listing when the buffer
// is too small. Returns the characters written before the final NUL.
std::uint32_t profileSection(const char* section, char* buffer, std::uint32_t size,
                             const std::string& file);

// WritePrivateProfileSectionA: replaces all entries of a section with entries
// ("name=value" strings, each NUL-ended, then one more NUL) in one write;
// creates the file and the section when missing. False on failure.
bool writeProfileSection(const char* section, const char* entries, const std::string& file);

// Several such section writes in one replacement of the file, so that a
// process killed meanwhile leaves the old file whole (on Windows they are
// written with WritePrivateProfileSectionA into a copy that is then renamed
// over the file). Each pair is a section name and its entries as above.
// False when any failed; the file is then unchanged.
bool writeProfileSections(const std::vector<std::pair<std::string, std::string>>& sections,
                          const std::string& file);

// A profile file read once for many reads of its values while nothing writes
// it (a track's ini file: hundreds of values). Each read answers as
// profileString with section and key given would: natively from the file
// parsed when the snapshot was made, without any system call; on Windows
// through GetPrivateProfileStringA, which keeps the file itself.
class ProfileSnapshot {
public:
    explicit ProfileSnapshot(const std::string& file);
    ~ProfileSnapshot();
    ProfileSnapshot(const ProfileSnapshot&) = delete;
    ProfileSnapshot& operator=(const ProfileSnapshot&) = delete;

    std::uint32_t string(const char* section, const char* key, const char* defaultValue, char* buffer,
                         std::uint32_t size) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// ---------------------------------------------------------------------------
// Files and directories (C runtime semantics: results are 0 or an errno value).

struct FileStatus {
    bool directory = false;
    std::int64_t size = 0;
    std::int64_t modified = 0; // seconds since 1970-01-01 UTC
};

// _stat: 0 on success, otherwise the errno value (ENOENT for a missing path).
int statFile(const std::string& path, FileStatus& status);

// _access: mode 0 existence, 2 write (fails with EACCES for a read-only
// file), 4 read, 6 both. 0 or the errno value.
int accessFile(const std::string& path, int mode);
bool fileExists(const std::string& path);

// _fullpath: the absolute path (relative paths against the current directory,
// "." and ".." removed, a final separator kept; "" gives the current
// directory), or nothing when it cannot be formed. The disk is not consulted:
// natively the result has "/" separators and the letter case as given.
std::optional<std::string> fullPath(const std::string& path);

// The path to hand to the C and C++ standard libraries: unchanged on Windows;
// natively with "/" separators and the letter case of existing entries (for
// a path that does not exist yet: the existing part resolved, the rest as
// given).
std::string nativePath(const std::string& path);

// Renames from over to (replacing an existing file). 0 or the errno value:
// EACCES when to is read-only, or (Windows) open in a program that does not
// share it for deletion.
int replaceFile(const std::string& from, const std::string& to);
// Creates or truncates a file, writes contents to it (text: each "\n" as the
// platform's line end, "\r\n" on Windows; otherwise byte for byte) and brings
// them to the disk (FlushFileBuffers / fsync) before closing it, so that a
// file renamed over another afterwards survives a power loss complete. 0 or
// the errno value of the step that failed: ENOSPC or EFBIG for a full disk or
// a file-size limit, EACCES for a read-only file or one that another program
// holds open without sharing it. A failed write may leave part of the contents.
int writeFileToDisk(const std::string& path, const std::string& contents, bool text);
int removeFile(const std::string& path);
int createDirectory(const std::string& path);

std::string currentDirectory();
bool setCurrentDirectory(const std::string& path);

// The user's temporary directory, ending in a path separator (GetTempPathA).
std::string tempDirectory();

// strerror of the C runtime for an errno value.
std::string errorText(int errorNumber);

// One directory entry found by DirectorySearch.
struct FindData {
    std::string name; // entry name without directory
    bool directory = false;
    std::int64_t size = 0;
    std::int64_t modified = 0; // seconds since 1970-01-01 UTC
};

// _findfirst/_findnext: the entries of a directory that match a wildcard
// pattern ("*" and "?", letter case ignored; "*.*" matches every name). "."
// and ".." are reported where Windows reports them; callers skip them.
// Natively the entries come sorted as NTFS sorts them (upper-case forms
// compared), so listings are deterministic.
class DirectorySearch {
public:
    DirectorySearch();
    ~DirectorySearch();
    DirectorySearch(const DirectorySearch&) = delete;
    DirectorySearch& operator=(const DirectorySearch&) = delete;

    // Starts a search. False when nothing matches or the search fails;
    // errorNumber() then tells why (ENOENT: the directory or a match does not
    // exist; anything else is a real failure).
    bool first(const std::string& pattern, FindData& entry);
    // The next entry; false at the end.
    bool next(FindData& entry);
    int errorNumber() const;
    void close();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The names of the entries of a directory that are not directories, as a
// search of "directory\\*" finds them, without the size and time of each
// (natively no status is read per entry, which makes it far cheaper than a
// DirectorySearch over large directories). The directory is found ignoring
// letter case like every path. False when it cannot be listed; errorNumber
// then tells why (ENOENT: it does not exist). When directories is given, the
// names of the subdirectories (without "." and "..") go there, as on disk, so
// that a caller can find paths below without resolving them from the root.
bool listFileNames(const std::string& directory, std::vector<std::string>& names, int& errorNumber,
                   std::vector<std::string>* directories = nullptr);

// An open read handle on a file and the identity the platform gives it
// (GetFileInformationByHandle), to notice that a file was replaced or rewritten.
struct FileIdentityInfo {
    std::uint64_t lastWrite = 0;
    std::uint32_t volumeSerial = 0;
    std::uint64_t size = 0;
    std::uint64_t fileIndex = 0;
    bool operator==(const FileIdentityInfo&) const = default;
};

class ReadHandle {
public:
    ReadHandle();
    ~ReadHandle();
    ReadHandle(const ReadHandle&) = delete;
    ReadHandle& operator=(const ReadHandle&) = delete;

    // Opens an existing file for reading, shared for reading.
    bool open(const std::string& path);
    bool isOpen() const;
    // The identity of the open file; false when it cannot be read.
    bool info(FileIdentityInfo& out) const;
    void close();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// ---------------------------------------------------------------------------
// Time.

// SYSTEMTIME's layout: 16 bytes, 16-bit fields.
struct CalendarTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t dayOfWeek = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
    bool operator==(const CalendarTime&) const = default;
};
static_assert(sizeof(CalendarTime) == 16);

CalendarTime localTime(); // GetLocalTime

// SystemTimeToFileTime / FileTimeToSystemTime: a file time counts 100 ns
// units since 1601-01-01; no time zone is applied. False for a date the
// platform rejects (e.g. month 0).
bool calendarToFileTime(const CalendarTime& time, std::int64_t& fileTime);
bool fileTimeToCalendar(std::int64_t fileTime, CalendarTime& time);
// The file time of a time in seconds since 1970-01-01 UTC (the times that
// FileStatus and FindData hold).
std::int64_t fileTimeOfUnixSeconds(std::int64_t seconds);
// FileTimeToLocalFileTime: UTC file time to the local zone. (Windows applies
// the offset in force now; natively the zone's rules for that instant apply.)
bool fileTimeToLocal(std::int64_t utcFileTime, std::int64_t& localFileTime);

// GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE) and
// GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_FORCE24HOURFORMAT); natively the
// texts of Windows' en-US default: "3/7/2024" and "17:10:41 PM" (the flag
// forces the hour only; the AM/PM marker stays). Empty for an invalid date
// (the time of day ignored) or time (the date ignored).
std::string formatShortDate(const CalendarTime& time);
std::string formatTime24(const CalendarTime& time);

// GetTickCount: milliseconds, wrapping at 2^32, or what the tick source
// below gives.
std::uint32_t tickCount();
// A program that stands in for the game's process (the replacement host, a
// test) may supply the tick count; null gives the system's back.
using TickSource = std::uint32_t (*)();
void setTickSource(TickSource source);

// ---------------------------------------------------------------------------
// Process.

std::uint32_t processId();
std::uint32_t threadId();

// Full path of the running process's executable (the host's, not the plug-in's).
// Order: the path set below, the path source below, the real executable.
std::string executablePath();
// Points executablePath() at another file (tests, the host simulator). Empty
// removes the override.
void setExecutablePath(const std::string& path);
// A program that stands in for the game's process names its executable
// through a source asked at each call; a null or empty answer, or a null
// source, leaves it to the next in the order above.
using ExecutablePathSource = const char* (*)();
void setExecutablePathSource(ExecutablePathSource source);

// Processor seconds (user and system) this process has used so far
// (GetProcessTimes / getrusage).
double processorSeconds();
// The same for the child processes of this process that have ended and been
// waited for (getrusage of the children); nothing on Windows, which keeps no
// such total.
std::optional<double> endedChildrenProcessorSeconds();
// The most memory this process has had resident so far, in bytes (the peak
// working set; natively the resident set's high-water mark); 0 when the
// system cannot tell.
std::uint64_t peakMemoryBytes();

// A symbol that the program which started this process exports (dlsym of the
// global scope; GetProcAddress of the executable's module), or null.
void* programSymbol(const char* name);

// ---------------------------------------------------------------------------
// Modules (real only in the Windows build; natively these find nothing).

using ModuleHandle = void*;
ModuleHandle moduleHandle(const std::string& name);           // GetModuleHandleA
ModuleHandle loadLibrary(const std::string& path);            // LoadLibraryA
ModuleHandle loadLibraryUnresolved(const std::string& path);  // DONT_RESOLVE_DLL_REFERENCES
void freeLibrary(ModuleHandle module);
void* procAddress(ModuleHandle module, const std::string& name);
void* procAddress(ModuleHandle module, std::uint16_t ordinal);
// CloseHandle of a kernel object handle another program left in memory (the
// hand-loaded game's single-instance mutex); nothing natively.
void closeHandle(void* handle);

// ---------------------------------------------------------------------------
// Virtual memory.

enum class Protection { NoAccess, ReadOnly, ReadWrite, ExecuteRead, ExecuteReadWrite };

// Committed pages (VirtualAlloc / mmap); null on failure.
void* allocatePages(std::size_t size, Protection protection);
void freePages(void* address, std::size_t size);
// VirtualProtect over every page the range touches; previous (when not null)
// receives the protection of the first page before the change.
bool protectPages(void* address, std::size_t size, Protection protection, Protection* previous);
// Copies size bytes; false instead of a fault when either range is not
// accessible (nothing is guaranteed about a partial copy).
bool copyMemoryChecked(void* destination, const void* source, std::size_t size);

// The pages from an address's page on that share one state: VirtualQuery's
// region (natively the mapping of /proc/self/maps that holds the address, or
// the gap between two mappings).
struct MemoryRegion {
    std::uintptr_t base = 0; // the page that holds the address
    std::size_t size = 0;    // bytes from base to the end of the region
    bool committed = false;  // false: free or only reserved
    bool readable = false;   // committed, readable and no guard page
    bool writable = false;   // committed, writable and no guard page
};
// False when the address lies beyond what the process can address.
bool queryMemoryRegion(const void* address, MemoryRegion& region);

// ---------------------------------------------------------------------------
// Text.

// MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS): false for invalid UTF-8.
bool utf8ToUtf16(const std::string& text, std::u16string& out);

} // namespace zudo::platform
