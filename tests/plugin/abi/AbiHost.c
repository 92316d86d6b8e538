/* A game written in C that loads Zuzuzevo.dll the way the real game does and
 * talks to it only through raw tables of thiscall function pointers, as a
 * 32-bit MSVC program would.
 *
 * - The plug-in's PluginInterface is called slot by slot through its table;
 *   every call with arguments checks that the plug-in removed exactly its
 *   arguments from the stack (thiscall: the callee cleans up), and bool and
 *   char arguments carry garbage in their upper bytes, as MSVC callers may
 *   leave it.
 * - The game's GameInterface is a C table of thiscall functions that records
 *   what the plug-in calls and checks the object it is called on.
 * - The program is named Zoraravi_SSE.exe and carries a large zero-filled
 *   array, so that the plug-in finds "the game" as this module and its fixed
 *   addresses (0x4A1330, 0x16607F8) inside this image: the start page shows
 *   the options this program put into the stage-start record, and the
 *   surface-type jump the plug-in writes is called with the C convention.
 *
 * The library is Zuzuzevo.dll beside the program, or the path given as the
 * one argument. Prints each failed check and a closing "N passed, N failed"
 * line. */

#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

#define THISCALL __attribute__((thiscall))

/* The game's image at its preferred base, as the plug-in's bindings see it. */
#define PREFERRED_BASE 0x00400000u
#define SURFACE_ROUTINE 0x004A1330u
#define STAGE_START_RECORD 0x016607F8u
#define RECORD_DAMAGE 88
#define RECORD_TRANSMISSION 28
#define RECORD_GEARBOX_PREFERENCE 1700

/* Room up to past the stage-start record, whatever the sections before it take. */
static unsigned char gameMemory[0x1300000];

static int passed;
static int failed;

static void check(int condition, const char* format, ...)
{
    if (condition) {
        ++passed;
        return;
    }
    ++failed;
    va_list arguments;
    va_start(arguments, format);
    printf("FAILED: ");
    vprintf(format, arguments);
    printf("\n");
    va_end(arguments);
}

/* ------------------------------------------------------------------------
 * The game's side: GameInterface. */

struct Game {
    void* const* table;
};

static struct Game game;
static char calls[256][96];
static int callCount;
static int wrongSelf;

static void record(struct Game* self, const char* format, ...)
{
    if (self != &game) {
        ++wrongSelf;
    }
    if (callCount >= 256) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(calls[callCount++], sizeof calls[0], format, arguments);
    va_end(arguments);
}

static void* THISCALL gameDestructor(struct Game* self, unsigned flags) { record(self, "slot 0 %u", flags); return self; }
static void THISCALL showMessage(struct Game* self, const char* text, float duration, float x, float y) { record(self, "ShowMessage \"%s\" %g %g %g", text, duration, x, y); }
static void THISCALL drawText(struct Game* self, float x, float y, const char* text) { record(self, "DrawText %g %g \"%s\"", x, y, text); }
static void THISCALL slot3(struct Game* self) { record(self, "slot 3"); }
static void THISCALL drawPanel(struct Game* self, float x, float y, float w, float h) { record(self, "DrawPanel %g %g %g %g", x, y, w, h); }
static void THISCALL beginPage(struct Game* self, float x, float y, float w, float h) { record(self, "BeginPage %g %g %g %g", x, y, w, h); }
static void THISCALL drawHighlight(struct Game* self, float x, float y, float w, float h) { record(self, "DrawHighlight %g %g %g %g", x, y, w, h); }
static void THISCALL drawMark(struct Game* self, float x, float y, int id) { record(self, "DrawMark %g %g %d", x, y, id); }
static void THISCALL slot8(struct Game* self) { record(self, "slot 8"); }
static void THISCALL slot9(struct Game* self) { record(self, "slot 9"); }
static void THISCALL selectFont(struct Game* self, int font) { record(self, "SelectFont %d", font); }
static void THISCALL selectMenuColor(struct Game* self, int colour) { record(self, "SelectMenuColor %d", colour); }
static void THISCALL setColor(struct Game* self, float r, float g, float b, float a) { record(self, "SetColor %g %g %g %g", r, g, b, a); }

static void* const gameTable[13] = {
    (void*)gameDestructor, (void*)showMessage, (void*)drawText,       (void*)slot3,
    (void*)drawPanel,      (void*)beginPage,   (void*)drawHighlight,  (void*)drawMark,
    (void*)slot8,          (void*)slot9,       (void*)selectFont,     (void*)selectMenuColor,
    (void*)setColor,
};

/* ------------------------------------------------------------------------
 * The plug-in's side: its table, called as MSVC calls it. */

enum Slot {
    DeletingDestructor, Name, DrawMenuPage, DrawResultPage, HandleFrontEndEvents,
    TickMenuPage, OnStageStarted, OnStageResults, OnCheckPoint,
};

typedef void* (*CreatePlugin)(struct Game*);
typedef void* (THISCALL* DestructorSlot)(void* self, unsigned flags);
typedef const char* (THISCALL* NameSlot)(void* self);
typedef void (THISCALL* NoArgumentSlot)(void* self);

static void* slot(void* plugin, enum Slot index) { return (*(void***)plugin)[index]; }

/* Calls a thiscall routine with count 32-bit stack arguments and returns how
 * many bytes the stack pointer moved over the call: 0 when the callee removed
 * exactly its arguments. */
struct RawCall {
    void* function;
    void* self;
    const uint32_t* arguments;
    int count;
};

static int stackMovedBy(const struct RawCall* call)
{
    int moved;
    __asm__ volatile(
        "mov %%esp, %%esi\n\t"
        "mov 12(%%ebx), %%edx\n\t"
        "1:\n\t"
        "test %%edx, %%edx\n\t"
        "jz 2f\n\t"
        "dec %%edx\n\t"
        "mov 8(%%ebx), %%eax\n\t"
        "pushl (%%eax,%%edx,4)\n\t"
        "jmp 1b\n\t"
        "2:\n\t"
        "mov 4(%%ebx), %%ecx\n\t"
        "call *(%%ebx)\n\t"
        "mov %%esi, %%eax\n\t"
        "sub %%esp, %%eax\n\t"
        "mov %%esi, %%esp\n\t"
        : "=&a"(moved)
        : "b"(call)
        : "ecx", "edx", "esi", "memory", "cc");
    return moved;
}

static uint32_t floatBits(float value)
{
    uint32_t bits;
    memcpy(&bits, &value, sizeof bits);
    return bits;
}

/* A bool or char as an MSVC caller may pass it: garbage above the low byte. */
static uint32_t dirty(unsigned char value) { return 0xA5C3E700u | value; }

static void callWithArguments(void* plugin, enum Slot index, const char* name,
                              const uint32_t* arguments, int count)
{
    const struct RawCall call = {slot(plugin, index), plugin, arguments, count};
    const int moved = stackMovedBy(&call);
    check(moved == 0, "%s left the stack %d bytes off (callee must remove %d bytes)", name,
          moved, 4 * count);
}

static void pressKeys(void* plugin, char key, int up, int down, int left, int right, int select)
{
    const uint32_t arguments[6] = {dirty((unsigned char)key), dirty(up), dirty(down),
                                   dirty(left), dirty(right), dirty(select)};
    callWithArguments(plugin, HandleFrontEndEvents, "HandleFrontEndEvents", arguments, 6);
}

static void drawMenuPage(void* plugin)
{
    callCount = 0;
    ((NoArgumentSlot)slot(plugin, DrawMenuPage))(plugin);
}

static int findCall(const char* text)
{
    for (int i = 0; i < callCount; ++i) {
        if (strcmp(calls[i], text) == 0) {
            return i;
        }
    }
    return -1;
}

/* ------------------------------------------------------------------------ */

static unsigned char* gameAddress(uint32_t preferred)
{
    return (unsigned char*)GetModuleHandleA(NULL) + (preferred - PREFERRED_BASE);
}

static int32_t* recordField(int offset)
{
    return (int32_t*)(gameAddress(STAGE_START_RECORD) + offset);
}

static int imageCoversFixedAddresses(void)
{
    const unsigned char* first = gameMemory;
    const unsigned char* end = gameMemory + sizeof gameMemory;
    return gameAddress(SURFACE_ROUTINE) >= first &&
           gameAddress(STAGE_START_RECORD) + RECORD_GEARBOX_PREFERENCE + 4 <= end;
}

static const char* const startPage[] = {
    "BeginPage 0 0 0 0",
    "SelectMenuColor 3", "DrawPanel 0 465 640 15",
    "SelectMenuColor 3",
    "SelectMenuColor 4", "SelectFont 1", "DrawText 50 70 \"Zuzuzevo\"",
    "SelectMenuColor 3", "DrawHighlight 0 100 200 15",
    "SelectMenuColor 3", "SelectFont 0", "DrawText 50 100 \"Hotlaps\"",
    "SelectMenuColor 3", "SelectFont 0", "DrawText 50 115 \"Rallies\"",
    "SelectMenuColor 3", "SelectFont 0", "DrawText 50 130 \"Car Damage: Realistic\"",
    "SelectMenuColor 3", "SelectFont 0", "DrawText 50 145 \"Transmission: Automatic\"",
};

int main(int argc, char** argv)
{
    /* The game loads its plug-ins from Plugins\; beside this program by default. */
    const char* libraryPath = argc > 1 ? argv[1] : "Zuzuzevo.dll";
    if (!imageCoversFixedAddresses()) {
        printf("FAILED: this program's image does not hold the game's fixed addresses\n");
        printf("0 passed, 1 failed\n");
        return 1;
    }
    DWORD previous = 0;
    /* The game's code is executable; so is the memory standing in for it. */
    VirtualProtect(gameAddress(SURFACE_ROUTINE & ~0xFFFu), 0x2000, PAGE_EXECUTE_READWRITE,
                   &previous);
    *recordField(RECORD_DAMAGE) = 3;
    *recordField(RECORD_GEARBOX_PREFERENCE) = 0;
    *recordField(RECORD_TRANSMISSION) = 0;
    game.table = gameTable;

    HMODULE library = LoadLibraryA(libraryPath);
    check(library != NULL, "LoadLibrary(%s) failed: %lu", libraryPath, GetLastError());
    if (library == NULL) {
        printf("%d passed, %d failed\n", passed, failed);
        return 1;
    }
    CreatePlugin create = (CreatePlugin)(void*)GetProcAddress(library, "ZUDO_CreatePlugin");
    check(create != NULL, "ZUDO_CreatePlugin is not exported under its plain name");
    if (create == NULL) {
        printf("%d passed, %d failed\n", passed, failed);
        return 1;
    }

    void* plugin = create(&game);
    check(plugin != NULL, "ZUDO_CreatePlugin returned null");

    /* Slot 1. */
    const char* name = ((NameSlot)slot(plugin, Name))(plugin);
    check(name != NULL && strcmp(name, "Zuzuzevo") == 0, "Name() is \"%s\"", name ? name : "(null)");

    /* The surface-type routine now jumps into the plug-in (cdecl, one argument). */
    unsigned char* surfaceCode = gameAddress(SURFACE_ROUTINE);
    check(surfaceCode[0] == 0xE9, "no jump at the surface-type routine (byte 0x%02x)", surfaceCode[0]);
    if (surfaceCode[0] == 0xE9) {
        typedef int (__cdecl* SurfaceRoutine)(int map);
        const SurfaceRoutine surfaceType = (SurfaceRoutine)(void*)surfaceCode;
        check(surfaceType(12) == 2, "surface type of map 12 is %d, not snow (2)", surfaceType(12));
        check(surfaceType(45) == 1, "surface type of map 45 is %d, not tarmac (1)", surfaceType(45));
        check(surfaceType(3) == 0, "surface type of map 3 is %d, not gravel (0)", surfaceType(3));
    }

    /* Calls before the first menu frame are dropped. */
    callCount = 0;
    pressKeys(plugin, 'x', 0, 1, 0, 0, 0);
    ((NoArgumentSlot)slot(plugin, DrawResultPage))(plugin);
    check(callCount == 0, "%d game calls before the first menu frame", callCount);

    /* Slot 2: the first frame is the start page. */
    drawMenuPage(plugin);
    const int expected = (int)(sizeof startPage / sizeof startPage[0]);
    check(callCount == expected, "the first frame made %d calls, not %d", callCount, expected);
    for (int i = 0; i < expected && i < callCount; ++i) {
        check(strcmp(calls[i], startPage[i]) == 0, "call %d is '%s', not '%s'", i, calls[i],
              startPage[i]);
    }
    check(*recordField(RECORD_TRANSMISSION) == 1,
          "gearbox preference 0 did not make the transmission automatic");

    /* Slot 4 with dirty bools: down twice to "Car Damage", right steps it to "Off". */
    pressKeys(plugin, '\0', 0, 1, 0, 0, 0);
    pressKeys(plugin, '\0', 0, 1, 0, 0, 0);
    pressKeys(plugin, '\0', 0, 0, 0, 1, 0);
    check(*recordField(RECORD_DAMAGE) == 0, "damage level %d after right on Realistic, not 0",
          *recordField(RECORD_DAMAGE));
    check(*recordField(RECORD_TRANSMISSION) == 1, "the transmission changed with the damage");
    drawMenuPage(plugin);
    check(findCall("DrawHighlight 0 130 200 15") >= 0, "the highlight is not on the damage row");
    check(findCall("DrawText 50 130 \"Car Damage: Off\"") >= 0, "the damage row does not show Off");

    /* Slot 3, and slots 5 to 8 with their arguments: nothing drawn, stack balanced. */
    callCount = 0;
    ((NoArgumentSlot)slot(plugin, DrawResultPage))(plugin);
    const uint32_t tick[1] = {floatBits(0.016f)};
    callWithArguments(plugin, TickMenuPage, "TickMenuPage", tick, 1);
    const uint32_t started[3] = {12, (uint32_t)(uintptr_t)"Player", dirty(1)};
    callWithArguments(plugin, OnStageStarted, "OnStageStarted", started, 3);
    const uint32_t results[4] = {floatBits(61.5f), floatBits(120.25f), floatBits(180.75f),
                                 (uint32_t)(uintptr_t)"Player"};
    callWithArguments(plugin, OnStageResults, "OnStageResults", results, 4);
    const uint32_t checkpoint[3] = {floatBits(61.5f), 1, (uint32_t)(uintptr_t)"Player"};
    callWithArguments(plugin, OnCheckPoint, "OnCheckPoint", checkpoint, 3);
    const uint32_t nullPlayer[3] = {floatBits(61.5f), 2, 0};
    callWithArguments(plugin, OnCheckPoint, "OnCheckPoint with a null player", nullPlayer, 3);
    check(callCount == 0, "%d game calls outside a menu frame", callCount);

    /* Select on "Hotlaps" (up twice from the damage row) opens the list. */
    pressKeys(plugin, '\0', 1, 0, 0, 0, 0);
    pressKeys(plugin, '\0', 1, 0, 0, 0, 0);
    pressKeys(plugin, '\0', 0, 0, 0, 0, 1);
    drawMenuPage(plugin);
    check(findCall("DrawText 5 20 \"Hotlaps\"") >= 0, "select on Hotlaps did not open the list");
    pressKeys(plugin, 'b', 0, 0, 0, 0, 0);
    drawMenuPage(plugin);
    check(findCall("DrawText 50 70 \"Zuzuzevo\"") >= 0, "'b' did not return to the start page");

    check(wrongSelf == 0, "%d game calls were made on another object than the game's", wrongSelf);

    /* Slot 0 with the delete flag: returns the object, puts the game's code back. */
    void* returned = ((DestructorSlot)slot(plugin, DeletingDestructor))(plugin, 1);
    check(returned == plugin, "the deleting destructor returned %p, not %p", returned, plugin);
    check(surfaceCode[0] == 0, "the surface-type routine was not restored (byte 0x%02x)",
          surfaceCode[0]);

    FreeLibrary(library);
    printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
