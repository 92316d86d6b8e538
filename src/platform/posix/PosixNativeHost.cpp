#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>

#include "platform/NativeHostServices.hpp"

// The sanitizer build ends a program itself when it finds a fault; its death
// callback lets such an end say the same as a fatal signal.
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#define ZUDO_SANITIZER_DEATH_CALLBACK 1
#else
#define ZUDO_SANITIZER_DEATH_CALLBACK 0
#endif

namespace zudo::platform::native {

void* loadSharedLibrary(const std::string& path, std::string& error)
{
    // A path without a slash would make dlopen search the library path
    // instead of opening the file named.
    const std::string openPath = path.find('/') == std::string::npos ? "./" + path : path;
    ::dlerror();
    void* library = ::dlopen(openPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = ::dlerror();
        error = reason != nullptr ? reason : "the library could not be loaded";
    }
    return library;
}

void* sharedLibrarySymbol(void* library, const char* name)
{
    return library == nullptr ? nullptr : ::dlsym(library, name);
}

namespace {

// Written by setFatalSignalMessage, read by the handler: a fixed buffer, so
// that the handler neither allocates nor takes a lock.
std::array<char, 1024> fatalMessage{};
std::atomic<std::size_t> fatalMessageLength{0};
std::atomic<int> fatalExitCode{1};
// The handler must run on a stack of its own to report a stack overflow.
alignas(16) std::array<char, 64 * 1024> alternateStack{};

void writeAll(const char* text, std::size_t length)
{
    while (length > 0) {
        const ssize_t written = ::write(STDERR_FILENO, text, length);
        if (written <= 0) {
            return;
        }
        text += written;
        length -= static_cast<std::size_t>(written);
    }
}

const char* signalName(int signal)
{
    switch (signal) {
    case SIGSEGV: return "segmentation fault";
    case SIGBUS: return "bus error";
    case SIGFPE: return "arithmetic fault";
    case SIGILL: return "illegal instruction";
    case SIGABRT: return "abort";
    default: return "fatal signal";
    }
}

[[noreturn]] void reportAndExit(const char* reason)
{
    writeAll(fatalMessage.data(), fatalMessageLength.load());
    writeAll(" (", 2);
    writeAll(reason, std::strlen(reason));
    writeAll(")\n", 2);
    ::_exit(fatalExitCode.load());
}

void onFatalSignal(int signal) { reportAndExit(signalName(signal)); }

#if ZUDO_SANITIZER_DEATH_CALLBACK
void onSanitizerDeath() { reportAndExit("a fault found by the sanitizers, reported above"); }
#endif

} // namespace

void exitOnFatalSignal(int exitCode)
{
    fatalExitCode.store(exitCode);
    stack_t stack{};
    stack.ss_sp = alternateStack.data();
    stack.ss_size = alternateStack.size();
    ::sigaltstack(&stack, nullptr);
    struct sigaction action {};
    action.sa_handler = &onFatalSignal;
    action.sa_flags = SA_ONSTACK;
    ::sigemptyset(&action.sa_mask);
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
        ::sigaction(signal, &action, nullptr);
    }
#if ZUDO_SANITIZER_DEATH_CALLBACK
    __sanitizer_set_death_callback(&onSanitizerDeath);
#endif
}

void setFatalSignalMessage(std::string_view message)
{
    const std::size_t length = std::min(message.size(), std::size_t{1000});
    fatalMessageLength.store(0);
    std::memcpy(fatalMessage.data(), message.data(), length);
    fatalMessageLength.store(length);
}

} // namespace zudo::platform::native
