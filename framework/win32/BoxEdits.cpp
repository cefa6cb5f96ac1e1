#include "framework/win32/BoxEdits.h"

#include <cstdint>
#include <string>
#include <utility>

#include "framework/EditBatch.h"
#include "framework/win32/ControlReads.h"
#include "framework/win32/Gathered.h"
#include "framework/win32/User32.h"

namespace afx::box_edits {
namespace {

// What the box shows is never more than this late, so that it is drawn several times a second
// however much an insertion costs.
constexpr long long kSlowestFrameMs = 80;
// The system's box lays out a paragraph again for each line it wraps, from there to the paragraph's
// end: one insertion of n characters without a line break costs in proportion to n squared. Text is
// therefore inserted in pieces that hold at most this many characters after their last line break.
constexpr std::size_t kLongestRun = 2048;
// Under a flood the box empties itself every few chunks, and what waits is small just after: once
// the frame has passed, edits wait for the first text after such a moment, up to a latest time,
// rather than give the box a whole box of text to lay out.
constexpr std::size_t kCheapBytes = 4096;
constexpr long long kLatestMs = 120;
// The box's own timer for edits that stop coming: it applies them once none has come for a while.
constexpr w32::Word kFrameTimer = 0x5155;
constexpr long long kQuietMs = 16;

struct Box {
    EditBatch batch;
    std::int64_t lastAppliedNs = 0;
    std::int64_t lastCollectedNs = 0;
    long long frameMs = 0;
    bool applying = false;  // the box's messages are the program's own edits
    bool timer = false;
};

Gathered<Box>& Boxes() {
    static Gathered<Box> boxes(kFrameTimer);
    return boxes;
}

w32::Handle Native(HWND handle) { return reinterpret_cast<w32::Handle>(handle); }

std::wstring Wide(const EditPieces& pieces) {
    std::wstring wide;
    pieces.ForEach([&wide](std::string_view piece) { wide += w32::Utf16(piece); });
    return wide;
}

// Where the piece starting at `from` ends: before the character that would make its last run
// without a line break too long, never inside a character of two UTF-16 units.
std::size_t PieceEnd(const std::wstring& text, std::size_t from) {
    std::size_t run = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        run = text[i] == L'\n' ? 0 : run + 1;
        if (run > kLongestRun) {
            const bool lowSurrogate = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
            return lowSurrogate ? i - 1 : i;
        }
    }
    return text.size();
}

// Replaces the box's selection with the text, a piece at a time; the caret ends behind it.
void Insert(w32::Handle box, const std::wstring& text) {
    std::size_t end = PieceEnd(text, 0);
    if (end == text.size()) {
        w32::ReplaceSelection(box, text, false);
        return;
    }
    for (std::size_t from = 0; from < text.size(); from = end, end = PieceEnd(text, from)) {
        w32::ReplaceSelection(box, text.substr(from, end - from), false);
    }
}

// Adds the text at the end as CEdit::AppendText says. The system's box inserts only at its
// selection: the text goes in at the end, then the selection and the view go back to where they
// were, or the view to the new end. A caret at the end with nothing selected keeps to the end,
// where the insertion leaves it.
void AppendNow(w32::Handle box, const std::wstring& text) {
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    w32::Send(box, w32::msg::EmGetSel, reinterpret_cast<w32::Word>(&start), reinterpret_cast<w32::Long>(&end));
    const bool showedEnd = w32::ShowsLastLine(box);
    const w32::Long firstLine = w32::Send(box, w32::msg::EmGetFirstVisibleLine);
    const w32::Long length = w32::Send(box, w32::msg::GetTextLength);
    const bool caretAtEnd = start == end && static_cast<w32::Long>(end) == length;
    w32::Send(box, w32::msg::EmSetSel, static_cast<w32::Word>(length), length);
    Insert(box, text);
    if (!caretAtEnd) {
        w32::Send(box, w32::msg::EmSetSel, start, static_cast<w32::Long>(end));
    }
    if (showedEnd) {
        w32::Send(box, w32::msg::VScroll, w32::msg::SbBottom);
    } else {
        w32::Send(box, w32::msg::EmLineScroll, 0, firstLine - w32::Send(box, w32::msg::EmGetFirstVisibleLine));
    }
}

void ApplyNow(HWND handle, Box& state) {
    if (state.applying) {
        return;
    }
    Boxes().StopTimer(handle, state);
    if (!state.batch.Any()) {
        return;
    }
    const w32::Handle box = Native(handle);
    const std::int64_t started = w32::NowNs();
    const EditBatch batch = std::move(state.batch);
    state.batch = {};
    state.applying = true;
    if (!batch.inserted.Empty()) {
        if (batch.reset) {
            w32::Send(box, w32::msg::EmSetSel, 0, -1);
        }
        Insert(box, Wide(batch.inserted));
    }
    if (batch.scrollFirst) {
        w32::Send(box, w32::msg::EmScrollCaret);
    }
    if (!batch.appended.Empty()) {
        AppendNow(box, Wide(batch.appended));
    }
    if (batch.selectAll) {
        w32::Send(box, w32::msg::EmSetSel, 0, -1);
    }
    if (batch.scroll) {
        w32::Send(box, w32::msg::EmScrollCaret);
    }
    state.applying = false;
    state.lastAppliedNs = w32::NowNs();
    state.frameMs = NextEditFrameMs((state.lastAppliedNs - started) / 1000000, kSlowestFrameMs);
}

// After an edit was collected: applied at once when the frame has passed (a first edit after a
// quiet while is seen at once) and what waits is cheap to lay out, or the latest time has passed;
// else when a frame has passed without edits, by the box's timer.
void Collected(HWND handle, Box& state) {
    control_reads::Changed(handle);
    state.lastCollectedNs = w32::NowNs();
    const long long waitedMs = (state.lastCollectedNs - state.lastAppliedNs) / 1000000;
    const std::size_t waiting = state.batch.inserted.text.size() + state.batch.appended.text.size();
    // An emptied box alone is not worth a frame; an emptied box with its first chunk is the
    // cheapest text a flood offers.
    const bool afterEmptying = state.batch.reset && state.batch.appended.ends.size() == 1;
    const bool cheap = waiting > 0 && (afterEmptying || waiting <= kCheapBytes);
    // Edits made while the box applies the last ones (by a handler of its notices) wait for its timer.
    if (!state.applying && waitedMs >= state.frameMs && (cheap || waitedMs >= kLatestMs)) {
        ApplyNow(handle, state);
    } else {
        Boxes().StartTimer(handle, state, static_cast<unsigned>(state.frameMs));
    }
}

// The box's timer: the edits have stopped coming for a frame, or they keep coming and the next
// one applies them.
void TimerFired(HWND handle, Box& state) {
    const long long quietMs = (w32::NowNs() - state.lastCollectedNs) / 1000000;
    if (quietMs >= kQuietMs) {
        ApplyNow(handle, state);
    }
}

}  // namespace

void Replace(HWND box, std::string_view text) {
    Box& state = Boxes().Take(box);
    CollectReplace(state.batch, text, [&] { ApplyNow(box, state); });
    Collected(box, state);
}

void Append(HWND box, std::string_view text) {
    Box& state = Boxes().Take(box);
    CollectAppend(state.batch, text, [&] { ApplyNow(box, state); });
    Collected(box, state);
}

bool SelectAll(HWND box) {
    Box* state = Boxes().Find(box);
    return state != nullptr && CollectSelectAll(state->batch);
}

bool Scroll(HWND box) {
    Box* state = Boxes().Find(box);
    return state != nullptr && CollectScroll(state->batch);
}

bool BeforeMessage(HWND box, UINT message, WPARAM wParam) {
    Box* state = Boxes().Find(box);
    if (state == nullptr) {
        return false;
    }
    if (Boxes().IsTimer(message, wParam)) {
        TimerFired(box, *state);
        return true;
    }
    if (!LeavesContentAlone(message)) {
        ApplyNow(box, *state);
    }
    return false;
}

void Forget(HWND box) { Boxes().Forget(box); }

}  // namespace afx::box_edits
