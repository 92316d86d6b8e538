#pragma once
// A game interface for tests: the simulator's recorder, with the calls the
// plug-in made as trace lines ("DrawText 50 70 \"Zuzuzevo\"",
// "SelectMenuColor 3", ...) for comparing with expected frames.

#include <string>
#include <vector>

#include "sim/record/GameRecorder.hpp"
#include "sim/record/Trace.hpp"

namespace zudo::test {

class RecordingGame : public sim::GameRecorder {
public:
    static constexpr char hostCallPrefix[] = "HostCall ";

    // Every call since the last clear(), one trace line each.
    std::vector<std::string> calls() const
    {
        std::vector<std::string> lines;
        for (const sim::RecordedCall& call : log().calls()) {
            std::string line;
            sim::appendCall(line, log(), call);
            lines.push_back(line);
        }
        return lines;
    }

    // The game's routines called since the last clear(), each as its trace
    // line without "HostCall " ("startStage 12 1 2 -1").
    std::vector<std::string> hostCalls() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : calls()) {
            if (line.rfind(hostCallPrefix, 0) == 0) {
                lines.push_back(line.substr(sizeof hostCallPrefix - 1));
            }
        }
        return lines;
    }

    void clear() { log().clear(); }
    // The font selected last (the game measures texts in it).
    int font() const { return state().font; }

    // The calls from the last BeginPage on (the last frame drawn).
    std::vector<std::string> lastFrame() const
    {
        const std::vector<std::string> all = calls();
        for (std::size_t i = all.size(); i-- > 0;) {
            if (all[i].rfind("BeginPage", 0) == 0) {
                return {all.begin() + static_cast<std::ptrdiff_t>(i), all.end()};
            }
        }
        return {};
    }

    // The texts drawn in the last frame, in order.
    std::vector<std::string> lastFrameTexts() const
    {
        std::vector<std::string> texts;
        for (const sim::RecordedCall& call : log().calls()) {
            if (call.kind == sim::CallKind::BeginPage) {
                texts.clear();
            } else if (call.kind == sim::CallKind::DrawText) {
                texts.emplace_back(log().text(call));
            }
        }
        return texts;
    }
};

} // namespace zudo::test
