#pragma once
// The two interfaces through which the game and the plug-in talk. Their layout
// is the game's (32-bit MSVC): the table pointer at offset 0, slot 0 a single
// scalar deleting destructor that takes a flag, then the operations in slot
// order, every member thiscall.
//
// Rules that keep the layout exact under g++ and MSVC alike: no virtual
// destructor (g++ would give it two slots), no overloaded virtual names (MSVC
// groups overloads), single inheritance only, no struct returned by value.
// <windows.h> must stay out of this header: it renames DrawText.

#include "platform/Compiler.hpp"

// Implemented by the plug-in; the game calls it from its own thread.
class PluginInterface {
public:
    // Slot 0: destroy, free the object when (flags & 1), return this.
    virtual void* ZUDO_THISCALL DeletingDestructor(unsigned int flags) = 0;
    virtual const char* ZUDO_THISCALL Name() = 0;                         // 1
    virtual void ZUDO_THISCALL DrawMenuPage() = 0;                        // 2
    virtual void ZUDO_THISCALL DrawResultPage() = 0;                      // 3
    virtual void ZUDO_THISCALL HandleFrontEndEvents(char txtKeyboard, bool bUp, bool bDown,
                                                    bool bLeft, bool bRight, bool bSelect) = 0; // 4
    virtual void ZUDO_THISCALL TickMenuPage(float timeDelta) = 0;         // 5
    virtual void ZUDO_THISCALL OnStageStarted(int mapIndex, const char* playerName,
                                              bool falseStart) = 0;       // 6
    virtual void ZUDO_THISCALL OnStageResults(float split1, float split2, float finish,
                                              const char* playerName) = 0; // 7
    virtual void ZUDO_THISCALL OnCheckPoint(float time, int checkpoint,
                                            const char* playerName) = 0;  // 8

protected:
    ~PluginInterface() = default;
};

// Implemented by the game and handed to ZUDO_CreatePlugin. Slots 0, 3, 8 and 9
// are never called by the plug-in; they only keep the layout.
class GameInterface {
public:
    virtual void* ZUDO_THISCALL DeletingDestructor(unsigned int flags) = 0;   // 0
    virtual void ZUDO_THISCALL ShowMessage(const char* text, float duration, float x,
                                           float y) = 0;                         // 1
    virtual void ZUDO_THISCALL DrawText(float x, float y, const char* text) = 0; // 2
    virtual void ZUDO_THISCALL UnusedSlot3() = 0;                                // 3
    virtual void ZUDO_THISCALL DrawPanel(float x, float y, float width, float height) = 0; // 4
    virtual void ZUDO_THISCALL BeginPage(float x, float y, float width, float height) = 0; // 5
    virtual void ZUDO_THISCALL DrawHighlight(float x, float y, float width,
                                             float height) = 0;                  // 6
    virtual void ZUDO_THISCALL DrawMark(float x, float y, int id) = 0;           // 7
    virtual void ZUDO_THISCALL UnusedSlot8() = 0;                                // 8
    virtual void ZUDO_THISCALL UnusedSlot9() = 0;                                // 9
    virtual void ZUDO_THISCALL SelectFont(int font) = 0;                         // 10
    virtual void ZUDO_THISCALL SelectMenuColor(int colour) = 0;                  // 11
    virtual void ZUDO_THISCALL SetColor(float r, float g, float b, float a) = 0; // 12

protected:
    ~GameInterface() = default;
};

// The export the game looks up by its plain name (cdecl, undecorated).
extern "C" ZUDO_EXPORT PluginInterface* ZUDO_CDECL ZUDO_CreatePlugin(GameInterface* pGame);
