/* The replacement host's half of the host bindings.
 *
 * In the real game the plug-in reaches the host through the game executable's
 * module: fixed addresses inside it, resolved against its load address. In the
 * native build the host is the simulator (zudo-sim) or a test program; it
 * exports this small C interface, which the plug-in's host access layer looks
 * up (the program's symbol ZUDO_REPLACEMENT_HOST_SYMBOL) when it attaches to
 * the host or first needs it, and whose executable path and tick count it
 * hands to the platform layer. Test programs that link the code directly
 * register it instead (zudo::util::mem::registerReplacementHost).
 *
 * Host addresses are 32-bit values as in the game: a simulated 32-bit address
 * space in which host objects sit at their fixed addresses. */
#ifndef ZUDO_REPLACEMENT_HOST_H
#define ZUDO_REPLACEMENT_HOST_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ZUDO_REPLACEMENT_HOST_VERSION 3
#define ZUDO_REPLACEMENT_HOST_SYMBOL "zudo_replacement_host"

/* A plug-in routine that the host may call at a host address given to it by
 * registerPluginRoutine (e.g. an entry the plug-in put into a cloned virtual
 * table). Arguments and result as for callRoutine. */
typedef uint64_t (*ZudoPluginRoutine)(void* context, uint32_t thisObject,
                                      const uint64_t* arguments, uint32_t count);

typedef struct ZudoReplacementHost {
    uint32_t version; /* ZUDO_REPLACEMENT_HOST_VERSION */

    /* Full path of the simulated host executable: its directory is the host
     * directory of the system. Null or empty while the host has none (the
     * platform layer then gives the real executable's path). May be null. */
    const char* (*executablePath)(void);

    /* The host's millisecond tick count (settable by the simulator's script).
     * May be null: the system's tick count then serves. */
    uint32_t (*tickCount)(void);

    /* Load address of the simulated host executable (its preferred base, so
     * that bindings resolve to the addresses written in the code). */
    uint32_t executableBase;

    /* size bytes of the simulated host address space starting at address, or
     * null when any of them is outside the mapped space. */
    uint8_t* (*memory)(uint32_t address, uint32_t size);

    /* Calls the fake of the host routine registered at address (an address at
     * the host's preferred base). thisObject is the host object of a member
     * routine (0 for a free routine). Arguments and the result are widened to
     * 64 bits: host addresses, ints, floats by their bits, and native pointers
     * where a routine takes plug-in memory (e.g. a text to measure). Sets
     * *found to 0 when no fake is registered for the address. */
    uint64_t (*callRoutine)(uint32_t address, uint32_t thisObject,
                            const uint64_t* arguments, uint32_t count, int* found);

    /* --- version 2 --- */

    /* Routines the game has but whose address the plug-in does not know are
     * bound by name (the binding's name, e.g. "textWidth"). hasNamedRoutine
     * tells whether a fake is registered under the name; callNamedRoutine
     * calls it like callRoutine. */
    int (*hasNamedRoutine)(const char* name);
    uint64_t (*callNamedRoutine)(const char* name, uint32_t thisObject,
                                 const uint64_t* arguments, uint32_t count, int* found);

    /* Host memory for things the plug-in hands to the host by address (a
     * cloned virtual table): zero-filled, 16-byte aligned; 0 when the space is
     * exhausted. release takes back what allocate gave (0 is ignored). */
    uint32_t (*allocate)(uint32_t size);
    void (*release)(uint32_t address);

    /* Gives a plug-in routine a host address: callRoutine at that address then
     * calls routine with context. 0 when no address is left.
     * unregisterPluginRoutine frees the address again. */
    uint32_t (*registerPluginRoutine)(ZudoPluginRoutine routine, void* context);
    void (*unregisterPluginRoutine)(uint32_t address);

    /* --- version 3 --- */

    /* Like memory, for a write: also null when any of the bytes is host
     * memory that the host keeps read-only (as the game's process keeps its
     * code). memory itself gives every byte of the space, for reads and for
     * patches, which lift the protection as they would in the game. May be
 * null: all of memory is then writable. */
    uint8_t* (*writableMemory)(uint32_t address, uint32_t size);
} ZudoReplacementHost;

typedef const ZudoReplacementHost* (*ZudoReplacementHostFunction)(void);

#ifdef __cplusplus
}
#endif

#endif
