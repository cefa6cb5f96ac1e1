#include "framework/win32/MultiLineEdit.h"

#include <cstdint>
#include <string>
#include <utility>

#include "framework/EditBatch.h"
#include "framework/FrameClock.h"
#include "framework/win32/ControlReads.h"
#include "framework/win32/Gathered.h"
#include "framework/win32/User32.h"

namespace afx::multi_line_edit {
namespace {

// What the box shows is never more than this late, so that it is drawn several times a second
// however much an insertion costs.
constexpr long long kSlowestFrameMs = 80;
// The system's box lays out a paragraph again for each line it wraps, from there to the paragraph's
// end: one insertion of n characters without a line break costs in proportion to n squared. Text is
// therefore inserted in pieces that hold at most this many characters after their last line break.
// A frame's additions go in one such piece a turn of the loop, so that input and painting are
// served between the pieces. Every insertion also costs in proportion to the text the box then
// holds, so pieces are no smaller than the rules below make them.
constexpr std::size_t kLongestRun = 2048;
// The first piece of a frame is short, so that the box shows the frame's first text soon after the
// wait between frames, however long the rest of it takes.
constexpr std::size_t kFirstPiece = 512;
// Text with no blank to wrap at costs the box most, several times as much as words: a piece holds
// at most this many characters of it.
constexpr std::size_t kLongestWord = 1536;
// Under a flood the box empties itself every few chunks, and what waits is small just after: once
// the frame has passed, edits wait for the first text after such a moment, up to a latest time,
// rather than give the box a whole box of text to lay out.
constexpr std::size_t kCheapBytes = 4096;
constexpr long long kLatestMs = 120;
// Edits that stop coming are applied once none has come for a frame.
constexpr long long kQuietMs = kFrameMs;

void TimerFired(HWND handle, struct Box& state);

struct Box : FrameClient {
    explicit Box(HWND window) : handle(window) {}
    void OnFrame() override { TimerFired(handle, *this); }

    HWND handle;
    EditBatch batch;
    // The end of the last frame's additions, still to go in a piece at a time; the batch waits
    // behind it.
    std::wstring rest;
    std::size_t restAt = 0;
    bool piecePosted = false;
    // What the frame being applied has cost so far.
    std::int64_t costNs = 0;
    std::int64_t lastAppliedNs = 0;
    std::int64_t lastCollectedNs = 0;
    long long frameMs = 0;
    bool applying = false;  // the box's messages are the program's own edits

    bool Adding() const { return restAt < rest.size(); }
};

Gathered<Box>& Boxes() {
    static Gathered<Box> boxes;
    return boxes;
}

// Posted to the box for its next piece, so that the piece waits its turn behind input and painting.
UINT PieceMessageId() {
    static const UINT id = w32::RegisterMessage(L"QuenzoBoxPiece");
    return id;
}

w32::Handle Native(HWND handle) { return reinterpret_cast<w32::Handle>(handle); }

std::wstring Wide(const EditPieces& pieces) {
    std::wstring wide;
    pieces.ForEach([&wide](std::string_view piece) { wide += w32::FromCodePage(piece); });
    return wide;
}

bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Where the piece starting at `from` ends: after at most `most` characters, before the character
// that would make its last run without a line break too long; never inside a character of two
// UTF-16 units, nor between the CR and LF of a line break.
std::size_t PieceEnd(const std::wstring& text, std::size_t from, std::size_t most = std::wstring::npos,
                     std::size_t longestWord = std::wstring::npos) {
    const std::size_t last = most < text.size() - from ? from + most : text.size();
    std::size_t run = 0;
    std::size_t word = 0;
    std::size_t end = last;
    for (std::size_t i = from; i < last; ++i) {
        run = text[i] == L'\n' ? 0 : run + 1;
        word = text[i] == L'\n' || text[i] == L' ' || text[i] == L'\t' ? 0 : word + 1;
        if (run > kLongestRun || word > longestWord) {
            end = i;
            break;
        }
    }
    if (end < text.size() && end > from + 1 &&
        (IsLowSurrogate(text[end]) || (text[end] == L'\n' && text[end - 1] == L'\r'))) {
        --end;
    }
    return end;
}

// Replaces the box's selection with the text, a piece at a time; the caret ends behind it.
void Insert(w32::Handle box, const std::wstring& text, std::size_t from = 0) {
    std::size_t end = PieceEnd(text, from);
    if (from == 0 && end == text.size()) {
        w32::ReplaceSelection(box, text, false);  // the whole text, or none: an emptied selection
        return;
    }
    for (; from < text.size(); from = end, end = PieceEnd(text, from)) {
        w32::ReplaceSelection(box, text.substr(from, end - from), false);
    }
}

// Adds the text at the end as CEdit::AppendText says. The system's box inserts only at its
// selection: the text goes in at the end, then the selection and the view go back to where they
// were, or the view to the new end. A caret at the end with nothing selected keeps to the end,
// where the insertion leaves it.
void AppendNow(w32::Handle box, const std::wstring& text, std::size_t from = 0, std::size_t to = std::wstring::npos) {
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    w32::Send(box, w32::msg::EmGetSel, reinterpret_cast<w32::Word>(&start), reinterpret_cast<w32::Long>(&end));
    const bool showedEnd = w32::ShowsLastLine(box);
    const w32::Long firstLine = w32::Send(box, w32::msg::EmGetFirstVisibleLine);
    const w32::Long length = w32::Send(box, w32::msg::GetTextLength);
    const bool caretAtEnd = start == end && static_cast<w32::Long>(end) == length;
    w32::Send(box, w32::msg::EmSetSel, static_cast<w32::Word>(length), length);
    if (to >= text.size()) {
        Insert(box, text, from);
    } else {
        Insert(box, text.substr(from, to - from));
    }
    if (!caretAtEnd) {
        w32::Send(box, w32::msg::EmSetSel, start, static_cast<w32::Long>(end));
    }
    if (showedEnd) {
        w32::Send(box, w32::msg::VScroll, w32::msg::SbBottom);
    } else {
        w32::Send(box, w32::msg::EmLineScroll, 0, firstLine - w32::Send(box, w32::msg::EmGetFirstVisibleLine));
    }
}

// The frame's work is done: the next frame is paced by what it cost.
void FrameApplied(Box& state) {
    state.lastAppliedNs = w32::NowNs();
    state.frameMs = NextEditFrameMs(state.costNs / 1000000, kSlowestFrameMs);
    state.costNs = 0;
    // Edits that came meanwhile wait at most a frame, whether more come or not.
    if (state.batch.Any()) {
        state.CallIn(state.frameMs);
    }
}

// Adds the next piece of the rest, and asks for the one after.
void AddPiece(HWND handle, Box& state) {
    const std::int64_t started = w32::NowNs();
    const std::size_t end =
        PieceEnd(state.rest, state.restAt, state.restAt == 0 ? kFirstPiece : kLongestRun, kLongestWord);
    state.applying = true;
    AppendNow(Native(handle), state.rest, state.restAt, end);
    state.applying = false;
    state.restAt = end;
    state.costNs += w32::NowNs() - started;
    if (!state.Adding()) {
        state.rest.clear();
        state.restAt = 0;
        FrameApplied(state);
    } else if (!state.piecePosted) {
        state.piecePosted = w32::Post(Native(handle), PieceMessageId());
        if (!state.piecePosted) {
            // A full queue: the frame clock asks for the piece instead.
            state.CallIn(1);
        }
    }
}

// Applies what waits. `whole`: everything now, as a reader of the box must find it; otherwise the
// frame's additions may go in a piece a turn, and a frame waits while the last one's still go in.
void Apply(HWND handle, Box& state, bool whole) {
    if (state.applying || (!whole && state.Adding())) {
        return;
    }
    state.CancelCall();
    if (!state.batch.Any() && !state.Adding()) {
        return;
    }
    const w32::Handle box = Native(handle);
    const EditBatch batch = std::move(state.batch);
    state.batch = {};
    state.applying = true;
    const std::int64_t started = w32::NowNs();
    // The rest of the last frame's additions goes in first, unless the whole text is replaced.
    if (state.Adding() && !batch.reset) {
        AppendNow(box, state.rest, state.restAt);
    }
    state.rest.clear();
    state.restAt = 0;
    if (!batch.inserted.Empty()) {
        if (batch.reset) {
            w32::Send(box, w32::msg::EmSetSel, 0, -1);
        }
        Insert(box, Wide(batch.inserted));
    }
    if (batch.scrollFirst) {
        w32::Send(box, w32::msg::EmScrollCaret);
    }
    const bool last = batch.selectAll || batch.scroll;
    if (!batch.appended.Empty()) {
        state.rest = Wide(batch.appended);
        if (whole || last) {
            AppendNow(box, state.rest);
            state.rest.clear();
        }
    }
    if (batch.selectAll) {
        w32::Send(box, w32::msg::EmSetSel, 0, -1);
    }
    if (batch.scroll) {
        w32::Send(box, w32::msg::EmScrollCaret);
    }
    state.applying = false;
    state.costNs += w32::NowNs() - started;
    if (state.Adding()) {
        AddPiece(handle, state);
    } else {
        FrameApplied(state);
    }
}

void ApplyNow(HWND handle, Box& state) { Apply(handle, state, true); }

// After an edit was collected: applied at once when the frame has passed (a first edit after a
// quiet while is seen at once) and what waits is cheap to lay out, or the latest time has passed;
// otherwise at a later edit or by the frame clock.
void Collected(HWND handle, Box& state) {
    control_reads::Changed(handle);
    state.lastCollectedNs = w32::NowNs();
    const long long waitedMs = (state.lastCollectedNs - state.lastAppliedNs) / 1000000;
    const std::size_t waiting = state.batch.inserted.size + state.batch.appended.size;
    // An emptied box alone is not worth a frame; an emptied box with its first chunk is the
    // cheapest text a flood offers.
    const bool afterEmptying = state.batch.reset && state.batch.appended.Count() == 1;
    const bool cheap = waiting > 0 && (afterEmptying || waiting <= kCheapBytes);
    // Edits made while the box applies the last ones (by a handler of its notices) wait for its frame;
    // edits made while the last frame's additions still go in wait for them.
    if (state.Adding()) {
        return;
    }
    if (!state.applying && waitedMs >= state.frameMs && (cheap || waitedMs >= kLatestMs)) {
        Apply(handle, state, false);
    } else {
        state.CallIn(state.frameMs);
    }
}

// The box's frame: the edits have stopped coming for a frame, and go in now; or they keep coming,
// and the next one applies them, or the next frame does.
void TimerFired(HWND handle, Box& state) {
    if (state.Adding()) {
        if (!state.piecePosted && !state.applying) {
            AddPiece(handle, state);
        }
        return;
    }
    const long long quietMs = (w32::NowNs() - state.lastCollectedNs) / 1000000;
    if (quietMs >= kQuietMs) {
        Apply(handle, state, false);
    } else if (state.batch.Any()) {
        state.CallIn(state.frameMs);
    }
}

}  // namespace

void Replace(HWND box, std::string_view text) {
    Box& state = Boxes().Take(box);
    CollectReplace(state.batch, text, [&] { ApplyNow(box, state); });
    Collected(box, state);
}

void Append(HWND box, std::string_view text, AfxTextOfBytes shown) {
    Box& state = Boxes().Take(box);
    CollectAppend(state.batch, text, shown, [&] { ApplyNow(box, state); });
    Collected(box, state);
}

// Selecting and scrolling wait behind the additions that still go in, as behind the batch.
bool SelectAll(HWND box) {
    Box* state = Boxes().Find(box);
    return state != nullptr && CollectSelectAll(state->batch, state->Adding());
}

bool Scroll(HWND box) {
    Box* state = Boxes().Find(box);
    return state != nullptr && CollectScroll(state->batch, state->Adding());
}

bool BeforeMessage(HWND box, UINT message) {
    Box* state = Boxes().Find(box);
    if (state == nullptr) {
        return false;
    }
    if (message == PieceMessageId()) {
        state->piecePosted = false;
        if (state->Adding() && !state->applying) {
            AddPiece(box, *state);
        }
        return true;
    }
    if (!LeavesContentAlone(message)) {
        ApplyNow(box, *state);
    }
    return false;
}

void Forget(HWND box) { Boxes().Forget(box); }

}  // namespace afx::multi_line_edit
