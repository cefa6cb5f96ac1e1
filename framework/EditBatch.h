#pragma once
// What the program does to a multi-line box (replace the selection, add at the end, select all,
// scroll the caret into view), collected so that a stream of small edits reaches the box as one
// edit a frame. Nothing is converted or laid out until the batch is applied: a box that empties
// itself under a flood drops most of what was added before anyone could see it. The backends keep
// one batch per box and apply it in the order of the fields below.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Controls.h"

namespace afx {

// Insertions one after another, as they came; each is decoded on its own, so that the bytes of
// one never complete a character of another. An insertion of bytes shown as text keeps the bytes,
// and its text is written when the batch is applied.
struct EditPieces {
    struct Piece {
        std::size_t end;       // where the insertion ends in `text`
        AfxTextOfBytes shown;  // how its bytes are written as text; no `write`: they are the text
    };
    std::string text;
    std::vector<Piece> pieces;
    std::size_t size = 0;  // the characters of the insertions' texts, at most

    void Add(std::string_view piece, AfxTextOfBytes shown = {}) {
        text.append(piece);
        pieces.push_back({text.size(), shown});
        size += shown.write != nullptr ? piece.size() * shown.charsPerByte : piece.size();
    }
    bool Empty() const { return pieces.empty(); }
    std::size_t Count() const { return pieces.size(); }
    // Forgets the insertions but keeps the room: a box that empties itself under a flood fills
    // the same room again, without growing it anew each time.
    void Clear() {
        text.clear();
        pieces.clear();
        size = 0;
    }
    template <class Visit>
    void ForEach(Visit&& visit) const {
        std::string written;
        std::size_t start = 0;
        for (const Piece& piece : pieces) {
            const std::string_view bytes = std::string_view(text).substr(start, piece.end - start);
            start = piece.end;
            if (piece.shown.write == nullptr) {
                visit(bytes);
                continue;
            }
            written.resize(bytes.size() * piece.shown.charsPerByte + 1);
            const std::size_t length =
                piece.shown.write(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), written.data());
            visit(std::string_view(written.data(), length));
        }
    }
};

struct EditBatch {
    EditPieces inserted;       // replace the selection with these
    bool reset = false;        // or rather the whole text, the caret at their end
    bool scrollFirst = false;  // then scroll the caret into view
    EditPieces appended;       // then add these at the end, leaving the caret and the view alone
    bool selectAll = false;    // then select everything
    bool scroll = false;       // then scroll the caret into view

    bool Any() const { return !inserted.Empty() || scrollFirst || !appended.Empty() || selectAll || scroll; }
};

// Each collects one edit. `apply()` applies the batch to the box and empties it; it is called first
// where the new edit cannot be collected after what is already there.
template <class Apply>
void CollectReplace(EditBatch& batch, std::string_view text, Apply&& apply) {
    if (batch.selectAll) {
        // Everything was selected: the whole text becomes this one, and what was collected for the
        // text before is gone with it.
        batch.selectAll = false;
        batch.reset = true;
        batch.inserted.Clear();
        batch.scrollFirst = false;
        batch.appended.Clear();
    } else if (!batch.appended.Empty() || batch.scroll) {
        apply();
    }
    // Each insertion leaves the caret behind it, where the next one goes.
    batch.inserted.Add(text);
}

template <class Apply>
void CollectAppend(EditBatch& batch, std::string_view text, AfxTextOfBytes shown, Apply&& apply) {
    if (batch.selectAll || (batch.scroll && !batch.appended.Empty())) {
        apply();
    }
    // A scroll asked for before the first addition (as emptying the box asks) comes before the
    // additions: the box that empties itself under a flood then costs nothing until the frame.
    if (batch.scroll) {
        batch.scroll = false;
        batch.scrollFirst = true;
    }
    batch.appended.Add(text, shown);
}

// False when nothing waits, in the batch or (`behindOthers`) in edits the box still applies before
// it: the box selects everything, or scrolls, at once.
bool CollectSelectAll(EditBatch& batch, bool behindOthers = false);
bool CollectScroll(EditBatch& batch, bool behindOthers = false);

// How long the next batch may gather, from what applying the last one cost: the box never takes
// more than a tenth of the time, and what it shows is never older than `slowestMs`.
long long NextEditFrameMs(long long lastCostMs, long long slowestMs);

}  // namespace afx
