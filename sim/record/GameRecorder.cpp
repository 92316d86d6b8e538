#include "sim/record/GameRecorder.hpp"

namespace zudo::sim {

void CallLog::clear()
{
    calls_.clear();
    texts_.clear();
    arguments_.clear();
}

void CallLog::swap(CallLog& other) noexcept
{
    calls_.swap(other.calls_);
    texts_.swap(other.texts_);
    arguments_.swap(other.arguments_);
}

std::string_view CallLog::text(const RecordedCall& call) const
{
    return std::string_view(texts_).substr(call.textOffset, call.textLength);
}

std::span<const std::int32_t> CallLog::arguments(const RecordedCall& call) const
{
    return std::span<const std::int32_t>(arguments_).subspan(call.argumentOffset, call.argumentCount);
}

void CallLog::add(RecordedCall call, std::string_view text, std::span<const std::int32_t> arguments)
{
    call.textOffset = static_cast<std::uint32_t>(texts_.size());
    call.textLength = static_cast<std::uint32_t>(text.size());
    texts_.append(text);
    call.argumentOffset = static_cast<std::uint32_t>(arguments_.size());
    call.argumentCount = static_cast<std::uint32_t>(arguments.size());
    arguments_.insert(arguments_.end(), arguments.begin(), arguments.end());
    calls_.push_back(call);
}

float characterWidth(std::int32_t font) { return font == 1 ? 8.0F : 6.0F; }

float GameRecorder::textWidth(std::string_view text) const
{
    return static_cast<float>(text.size()) * characterWidth(state_.font);
}

void GameRecorder::recordHostRoutine(const char* name, std::span<const std::int32_t> arguments)
{
    RecordedCall call;
    call.kind = CallKind::HostRoutine;
    call.routine = name;
    log_.add(call, {}, arguments);
}

void GameRecorder::recordHostRoutine(const char* name, std::span<const std::int32_t> arguments,
                                     std::string_view text)
{
    RecordedCall call;
    call.kind = CallKind::HostRoutine;
    call.routine = name;
    call.value = 1;
    log_.add(call, text, arguments);
}

namespace {

// A null text from the plug-in is recorded as empty: the game would crash,
// the simulator shows the call.
std::string_view textOf(const char* text) { return text == nullptr ? std::string_view() : text; }

} // namespace

// The plug-in must never destroy the game's interface; the call is recorded
// so that a trace shows it.
void* GameRecorder::DeletingDestructor(unsigned int /*flags*/)
{
    recordUnused(0);
    return this;
}

void GameRecorder::ShowMessage(const char* text, float duration, float x, float y)
{
    RecordedCall call;
    call.kind = CallKind::ShowMessage;
    call.numbers = {duration, x, y, 0};
    log_.add(call, textOf(text));
}

void GameRecorder::DrawText(float x, float y, const char* text)
{
    RecordedCall call;
    call.kind = CallKind::DrawText;
    call.numbers = {x, y, 0, 0};
    log_.add(call, textOf(text));
}

void GameRecorder::UnusedSlot3() { recordUnused(3); }

void GameRecorder::DrawPanel(float x, float y, float width, float height)
{
    recordBox(CallKind::DrawPanel, x, y, width, height);
}

void GameRecorder::BeginPage(float x, float y, float width, float height)
{
    recordBox(CallKind::BeginPage, x, y, width, height);
}

void GameRecorder::DrawHighlight(float x, float y, float width, float height)
{
    recordBox(CallKind::DrawHighlight, x, y, width, height);
}

void GameRecorder::DrawMark(float x, float y, int id)
{
    RecordedCall call;
    call.kind = CallKind::DrawMark;
    call.numbers = {x, y, 0, 0};
    call.value = id;
    log_.add(call);
}

void GameRecorder::UnusedSlot8() { recordUnused(8); }

void GameRecorder::UnusedSlot9() { recordUnused(9); }

void GameRecorder::SelectFont(int font)
{
    state_.font = font;
    RecordedCall call;
    call.kind = CallKind::SelectFont;
    call.value = font;
    log_.add(call);
}

void GameRecorder::SelectMenuColor(int colour)
{
    state_.menuColourSelected = true;
    state_.menuColour = colour;
    RecordedCall call;
    call.kind = CallKind::SelectMenuColor;
    call.value = colour;
    log_.add(call);
}

void GameRecorder::SetColor(float r, float g, float b, float a)
{
    state_.menuColourSelected = false;
    state_.rgba = {r, g, b, a};
    RecordedCall call;
    call.kind = CallKind::SetColor;
    call.numbers = {r, g, b, a};
    log_.add(call);
}

void GameRecorder::recordBox(CallKind kind, float x, float y, float width, float height)
{
    RecordedCall call;
    call.kind = kind;
    call.numbers = {x, y, width, height};
    log_.add(call);
}

void GameRecorder::recordUnused(std::int32_t slot)
{
    RecordedCall call;
    call.kind = CallKind::UnusedSlot;
    call.value = slot;
    log_.add(call);
}

} // namespace zudo::sim
