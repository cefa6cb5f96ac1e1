#pragma once
// The multi-line edit control. Its text has CR LF line breaks as the window system's edit control
// does: a CR LF pair starts a new line, a lone CR or LF stays in the text without breaking it, and
// every other character, whatever it is, stays itself (see DocumentText). Typing stops at the text
// limit; programmatic changes are never limited.
//
// What the program does to the box (replace the selection, add at the end, select all, scroll the
// caret into view) is collected and applied to the document at most once a frame (by the frame
// clock, FrameClock.h), or at once when anything reads the box or the user touches it. A stream of
// small insertions therefore costs one layout a frame, not one per insertion, and nobody can tell
// the difference. Twin: framework/win32/MultiLineEdit.h.

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <string>
#include <string_view>
#include <vector>

#include "framework/AfxTypes.h"
#include "framework/EditBatch.h"
#include "framework/FrameClock.h"
#include "framework/qt/DocumentText.h"

namespace afx {

// A block of the document that continues the paragraph of the block before it: one paragraph of
// the text held as several blocks, so that laying one out stays cheap. It has no line break before
// it in the text, and shows as the point where its line ends early. Marked by the block's user
// state, which a line break typed or inserted never gives a block.
inline constexpr int kContinuationState = 1;
bool IsContinuation(const QTextBlock& block);

class MultiLineEdit : public QPlainTextEdit, private FrameClient {
    Q_OBJECT

public:
    MultiLineEdit(DWORD style, QWidget* parent);

    // The text, kept until the box changes.
    const std::string& WindowsText() const;
    void SetWindowsText(const std::string& text);
    // Positions count characters of the text, a line break as two.
    void SetSelection(int start, int end);
    void Selection(int* start, int* end) const;
    void ReplaceSelection(std::string_view text, bool canUndo);
    // Adds `text` at the end, or the text `shown` writes of its bytes when the box takes them in;
    // the caret and the selection stay where they are (a caret at the end with nothing selected
    // keeps to the end), and the view follows the end only when it showed the end before.
    void Append(std::string_view text, AfxTextOfBytes shown = {});
    void ScrollCaret();
    int FirstVisibleLine() const;
    void ScrollLines(int lines);
    int TextLength() const;
    // Between positions in the text (a line break counts two) and positions in the document.
    int ToCursorPosition(int windowsPosition) const;
    int ToWindowsPosition(int cursorPosition) const;
    // Applies the edits the program has made since the last frame.
    void Flush();

    // How many characters the user may type the text up to; the program's own changes pass it.
    UINT TextLimit() const { return m_limit; }
    void SetTextLimit(UINT limit) { m_limit = limit; }

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    void Schedule();
    void OnFrame() override { Flush(); }
    // Puts the pieces in place of the cursor's selection as one edit, not undoable.
    void InsertPieces(QTextCursor& cursor, const EditPieces& pieces);
    // Adds the pieces at the end of the document, as Append says.
    void AppendToDocument(const EditPieces& pieces);
    // Cuts each block from the one holding position `from` to the one holding `to` that is longer
    // than a block may be into blocks that continue one another.
    void CutLongBlocks(int from, int to);
    bool RoomFor(int added) const;

    UINT m_limit = 30000;
    EditBatch m_pending;
    QElapsedTimer m_lastFlush;
    qint64 m_frameMs = kFrameMs;  // the shortest time between two flushes, from what the last one cost
    mutable std::string m_textCache;
    mutable bool m_textCacheValid = false;
};

}  // namespace afx
