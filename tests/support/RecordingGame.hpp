#pragma once
// A game interface for tests: records every call the plug-in makes, one line
// per call ("DrawText 50 70 \"Zuzuzevo\"", "SelectMenuColor 3", ...), and
// keeps the font selected last (the game measures text in it).

#include <cstring>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "plugin/HostInterfaces.hpp"

namespace zudo::test {

class RecordingGame final : public GameInterface {
public:
    RecordingGame() = default;
    ~RecordingGame() = default;
    RecordingGame(const RecordingGame&) = delete;
    RecordingGame& operator=(const RecordingGame&) = delete;

    std::vector<std::string> calls;
    int font = 0;

    void clear() { calls.clear(); }
    // The calls from the last BeginPage on (the last frame drawn).
    std::vector<std::string> lastFrame() const
    {
        for (std::size_t i = calls.size(); i-- > 0;) {
            if (calls[i].rfind("BeginPage", 0) == 0) {
                return {calls.begin() + static_cast<std::ptrdiff_t>(i), calls.end()};
            }
        }
        return {};
    }
    // The texts drawn in the last frame, in order.
    std::vector<std::string> lastFrameTexts() const
    {
        std::vector<std::string> texts;
        for (const std::string& call : lastFrame()) {
            if (call.rfind("DrawText ", 0) == 0) {
                const std::size_t quote = call.find('"');
                texts.push_back(call.substr(quote + 1, call.size() - quote - 2));
            }
        }
        return texts;
    }

    void* ZUDO_THISCALL DeletingDestructor(unsigned int) override
    {
        record("unexpected slot 0");
        return this;
    }
    void ZUDO_THISCALL ShowMessage(const char* text, float duration, float x, float y) override
    {
        record("ShowMessage", quoted(text), duration, x, y);
    }
    void ZUDO_THISCALL DrawText(float x, float y, const char* text) override
    {
        record("DrawText", x, y, quoted(text));
    }
    void ZUDO_THISCALL UnusedSlot3() override { record("unexpected slot 3"); }
    void ZUDO_THISCALL DrawPanel(float x, float y, float width, float height) override
    {
        record("DrawPanel", x, y, width, height);
    }
    void ZUDO_THISCALL BeginPage(float x, float y, float width, float height) override
    {
        record("BeginPage", x, y, width, height);
    }
    void ZUDO_THISCALL DrawHighlight(float x, float y, float width, float height) override
    {
        record("DrawHighlight", x, y, width, height);
    }
    void ZUDO_THISCALL DrawMark(float x, float y, int id) override { record("DrawMark", x, y, id); }
    void ZUDO_THISCALL UnusedSlot8() override { record("unexpected slot 8"); }
    void ZUDO_THISCALL UnusedSlot9() override { record("unexpected slot 9"); }
    void ZUDO_THISCALL SelectFont(int number) override
    {
        font = number;
        record("SelectFont", number);
    }
    void ZUDO_THISCALL SelectMenuColor(int colour) override { record("SelectMenuColor", colour); }
    void ZUDO_THISCALL SetColor(float r, float g, float b, float a) override
    {
        record("SetColor", r, g, b, a);
    }

private:
    struct Quoted {
        std::string text;
    };
    static Quoted quoted(const char* text) { return {text != nullptr ? text : "(null)"}; }

    template <class... Values>
    void record(const char* name, const Values&... values)
    {
        std::ostringstream line;
        line.imbue(std::locale::classic());
        line << name;
        ((line << ' ', put(line, values)), ...);
        calls.push_back(line.str());
    }
    template <class Value>
    static void put(std::ostringstream& line, const Value& value)
    {
        line << value;
    }
    static void put(std::ostringstream& line, const Quoted& value)
    {
        line << '"' << value.text << '"';
    }
};

} // namespace zudo::test
