#include "framework/qt/MultiLineEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

#include "framework/qt/ControlReads.h"
#include "framework/Resources.h"
#include "framework/qt/Typing.h"

namespace afx {

namespace {
// Program edits to a multi-line box reach the screen at once after a quiet while, else when a frame
// has passed since the last ones, and never more than a quarter of a second late.
constexpr int kSlowestFrameMs = 250;

// Laying out a paragraph costs time in proportion to its length, or faster on text without blanks,
// and an insertion lays out its whole paragraph again. A paragraph of text is therefore held as
// blocks of at most this many characters, cut preferably just after a blank; see IsContinuation.
constexpr int kLongestBlock = 2048;
constexpr int kLookBackForBlank = 256;
}  // namespace

MultiLineEdit::MultiLineEdit(DWORD style, QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy((style & WS_VSCROLL) != 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    setReadOnly((style & ES_READONLY) != 0);
    setTabChangesFocus(true);
    m_lastFlush.start();
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        m_textCacheValid = false;
        control_reads::Changed(this);
    });
}

const std::string& MultiLineEdit::WindowsText() const {
    const_cast<MultiLineEdit*>(this)->Flush();
    if (!m_textCacheValid) {
        m_textCache = DocumentRange(document(), 0, -1, QStringLiteral("\r\n")).toStdString();
        m_textCacheValid = true;
    }
    return m_textCache;
}

void MultiLineEdit::SetWindowsText(const std::string& text) {
    m_pending = {};
    CancelCall();
    document()->setUndoRedoEnabled(false);
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    DocumentText::FromWindowsText(text).InsertAt(cursor);
    document()->setUndoRedoEnabled(true);
    // As a new text does, the caret starts at the beginning.
    cursor.setPosition(0);
    setTextCursor(cursor);
}

bool IsContinuation(const QTextBlock& block) {
    return block.userState() == kContinuationState && block.previous().isValid();
}

int MultiLineEdit::TextLength() const {
    const_cast<MultiLineEdit*>(this)->Flush();
    // Every character is one, a line break between blocks two, a block that continues one none.
    int continuations = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        continuations += IsContinuation(block) ? 1 : 0;
    }
    return document()->characterCount() - 1 + blockCount() - 1 - 2 * continuations;
}

int MultiLineEdit::ToCursorPosition(int windowsPosition) const {
    if (windowsPosition < 0) {
        return document()->characterCount() - 1;
    }
    int remaining = windowsPosition;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const int length = block.length() - 1;  // without the separator
        const QTextBlock next = block.next();
        if (remaining <= length || !next.isValid()) {
            return block.position() + std::min(remaining, length);
        }
        remaining -= length + (IsContinuation(next) ? 0 : 2);
        if (remaining < 0) {  // inside the CR LF pair
            return block.position() + length;
        }
    }
    return 0;
}

int MultiLineEdit::ToWindowsPosition(int cursorPosition) const {
    const QTextBlock target = document()->findBlock(cursorPosition);
    int windows = cursorPosition;
    for (QTextBlock block = document()->begin().next(); block.isValid() && block.position() <= target.position();
         block = block.next()) {
        windows += IsContinuation(block) ? -1 : 1;
    }
    return windows;
}

void MultiLineEdit::SetSelection(int start, int end) {
    if (start == 0 && end < 0 && CollectSelectAll(m_pending)) {  // emptying under a flood costs nothing yet
        return;
    }
    Flush();
    QTextCursor cursor = textCursor();
    if (start < 0) {
        cursor.clearSelection();
    } else {
        const int last = document()->characterCount() - 1;
        cursor.setPosition(std::min(ToCursorPosition(start), last));
        cursor.setPosition(std::min(ToCursorPosition(end), last), QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
}

void MultiLineEdit::Selection(int* start, int* end) const {
    const_cast<MultiLineEdit*>(this)->Flush();
    const QTextCursor cursor = textCursor();
    *start = ToWindowsPosition(cursor.selectionStart());
    *end = ToWindowsPosition(cursor.selectionEnd());
}

void MultiLineEdit::ReplaceSelection(std::string_view text, bool canUndo) {
    if (canUndo) {
        Flush();
        QTextCursor cursor = textCursor();
        DocumentText::FromWindowsText(text).InsertAt(cursor);
        setTextCursor(cursor);
        return;
    }
    CollectReplace(m_pending, text, [this] { Flush(); });
    Schedule();
}

void MultiLineEdit::Append(std::string_view text, AfxTextOfBytes shown) {
    CollectAppend(m_pending, text, shown, [this] { Flush(); });
    Schedule();
}

void MultiLineEdit::ScrollCaret() {
    if (!CollectScroll(m_pending)) {
        ensureCursorVisible();
    }
}

int MultiLineEdit::FirstVisibleLine() const {
    const_cast<MultiLineEdit*>(this)->Flush();
    return verticalScrollBar()->value();
}

void MultiLineEdit::ScrollLines(int lines) {
    Flush();
    verticalScrollBar()->setValue(verticalScrollBar()->value() + lines);
}

void MultiLineEdit::InsertPieces(QTextCursor& cursor, const EditPieces& pieces) {
    // One edit, laid out once when it ends, and not undoable: the program's, not the user's.
    document()->setUndoRedoEnabled(false);
    cursor.beginEditBlock();
    const int from = cursor.selectionStart();
    DocumentText decoded;
    pieces.ForEach([&](std::string_view piece) { decoded.Append(DocumentText::FromWindowsText(piece)); });
    decoded.InsertAt(cursor);
    CutLongBlocks(from, cursor.position());
    cursor.endEditBlock();
    document()->setUndoRedoEnabled(true);
}

void MultiLineEdit::AppendToDocument(const EditPieces& pieces) {
    QScrollBar* bar = verticalScrollBar();
    const bool showedEnd = bar->value() >= bar->maximum();
    const int firstLine = bar->value();
    // Positions, not a copy of the cursor: a copy would move with the insertion too.
    const int anchor = textCursor().anchor();
    const int position = textCursor().position();

    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    InsertPieces(cursor, pieces);

    // The insertion carries along the box's caret only when it stood at the end. A caret alone
    // keeps to the end; a selection that reached the end goes back to what the user selected.
    if (anchor != position && (textCursor().anchor() != anchor || textCursor().position() != position)) {
        QTextCursor selected = textCursor();
        selected.setPosition(anchor);
        selected.setPosition(position, QTextCursor::KeepAnchor);
        setTextCursor(selected);
    }
    bar->setValue(showedEnd ? bar->maximum() : firstLine);
}

void MultiLineEdit::Schedule() {
    // The collected edit changes the text: whoever read it since the last change reads it anew.
    if (m_textCacheValid) {
        m_textCacheValid = false;
        control_reads::Changed(this);
    }
    if (!CallWaiting()) {
        const qint64 since = m_lastFlush.elapsed();
        CallIn(since >= m_frameMs ? 0 : m_frameMs - since);
    }
}

void MultiLineEdit::CutLongBlocks(int from, int to) {
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        if (block.length() - 1 <= kLongestBlock) {
            continue;
        }
        const QString text = block.text();
        qsizetype cut = text.lastIndexOf(u' ', kLongestBlock - 1);
        if (cut < kLongestBlock - kLookBackForBlank) {
            cut = kLongestBlock - 1;
        }
        QTextCursor at(block);
        at.setPosition(block.position() + static_cast<int>(cut) + 1);
        at.insertBlock(block.blockFormat(), PlainFormat());
        at.block().setUserState(kContinuationState);
        to += 1;
    }
}

void MultiLineEdit::Flush() {
    if (!m_pending.Any()) {
        return;
    }
    CancelCall();
    QElapsedTimer took;
    took.start();
    const EditBatch edits = std::move(m_pending);
    m_pending = {};
    if (!edits.inserted.Empty()) {
        QTextCursor cursor = textCursor();
        if (edits.reset) {
            cursor.select(QTextCursor::Document);
        }
        InsertPieces(cursor, edits.inserted);
        setTextCursor(cursor);
    }
    if (edits.scrollFirst) {
        ensureCursorVisible();
    }
    if (!edits.appended.Empty()) {
        AppendToDocument(edits.appended);
    }
    if (edits.selectAll) {
        QTextCursor cursor = textCursor();
        cursor.select(QTextCursor::Document);
        setTextCursor(cursor);
    }
    if (edits.scroll) {
        ensureCursorVisible();
    }
    // Laying out what was inserted is what costs here.
    m_frameMs = NextEditFrameMs(took.elapsed(), kSlowestFrameMs);
    m_lastFlush.restart();
}

bool MultiLineEdit::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::InputMethod:
        case QEvent::FocusIn:
        case QEvent::ContextMenu: Flush(); break;
        default: break;
    }
    return QPlainTextEdit::event(event);
}

bool MultiLineEdit::viewportEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::DragEnter:
        case QEvent::Drop: Flush(); break;
        default: break;
    }
    return QPlainTextEdit::viewportEvent(event);
}

bool MultiLineEdit::RoomFor(int added) const {
    int start = 0;
    int end = 0;
    Selection(&start, &end);
    return TextLength() - (end - start) + added <= static_cast<int>(m_limit);
}

void MultiLineEdit::keyPressEvent(QKeyEvent* event) {
    if (!isReadOnly() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (RoomFor(2)) {
            textCursor().insertText(QStringLiteral("\n"));
            ensureCursorVisible();
        } else {
            QApplication::beep();
        }
        return;
    }
    if (!isReadOnly() && IsTyping(event) && !RoomFor(static_cast<int>(event->text().size()))) {
        QApplication::beep();
        return;
    }
    // What is typed is itself, even right behind a stand-in whose format the caret would carry on.
    setCurrentCharFormat(PlainFormat());
    QPlainTextEdit::keyPressEvent(event);
}

void MultiLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    setCurrentCharFormat(PlainFormat());
    QPlainTextEdit::inputMethodEvent(event);
}

QMimeData* MultiLineEdit::createMimeDataFromSelection() const {
    // What is copied is the text itself: a line break as this platform ends lines, every other
    // character as itself.
    const QTextCursor cursor = textCursor();
    auto* copied = new QMimeData;
    copied->setText(DocumentRange(document(), cursor.selectionStart(), cursor.selectionEnd(), QStringLiteral("\n")));
    return copied;
}

void MultiLineEdit::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText()) {
        return;
    }
    // Pasted lines end in LF or CR LF; each becomes a line break of the box, and only as much as
    // the text limit leaves room for goes in.
    const QString text = source->text();
    int start = 0;
    int end = 0;
    Selection(&start, &end);
    const int room = static_cast<int>(m_limit) - (TextLength() - (end - start));
    qsizetype fits = 0;
    int used = 0;
    while (fits < text.size()) {
        const bool crLf = text.at(fits) == u'\r' && fits + 1 < text.size() && text.at(fits + 1) == u'\n';
        const int cost = crLf || text.at(fits) == u'\n' ? 2 : 1;
        if (used + cost > room) {
            break;
        }
        used += cost;
        fits += crLf ? 2 : 1;
    }
    QTextCursor cursor = textCursor();
    DocumentText::FromPastedText(text.left(fits)).InsertAt(cursor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

}  // namespace afx
