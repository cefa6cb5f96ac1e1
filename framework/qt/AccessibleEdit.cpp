// How assistive technology reads and edits the edit boxes (AccessibleEdit.h). Qt only: on Windows
// the system's edit controls describe themselves.
#include "framework/qt/AccessibleEdit.h"

#include <QAccessibleWidget>
#include <QTextCursor>

#include <algorithm>
#include <utility>

#include "framework/qt/DocumentText.h"
#include "framework/qt/LineEdit.h"
#include "framework/qt/MultiLineEdit.h"

namespace afx {
namespace {

// An edit box as assistive technology sees it: its text, caret and selection in offsets of that
// text, and edits that replace a range of it. What differs between the two kinds of box is below.
class AccessibleEdit : public QAccessibleWidget,
                       public QAccessibleTextInterface,
                       public QAccessibleEditableTextInterface {
public:
    explicit AccessibleEdit(QWidget* widget) : QAccessibleWidget(widget, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (type == QAccessible::EditableTextInterface) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? Text() : QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !IsReadOnly();
        state.readOnly = IsReadOnly();
        state.selectableText = true;
        state.focusable = true;
        return state;
    }

    // Reading.
    QString text(int startOffset, int endOffset) const override {
        const QString all = Text();
        const auto [from, to] = Clamp(startOffset, endOffset, all.size());
        return all.mid(from, to - from);
    }
    int characterCount() const override { return static_cast<int>(Text().size()); }
    int cursorPosition() const override {
        int start = 0;
        int end = 0;
        bool caretFirst = false;
        Selection(&start, &end, &caretFirst);
        return caretFirst ? start : end;
    }
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
        int start = 0;
        int end = 0;
        Selection(&start, &end, nullptr);
        if (selectionIndex == 0 && start != end) {
            *startOffset = start;
            *endOffset = end;
        }
    }
    int selectionCount() const override {
        int start = 0;
        int end = 0;
        Selection(&start, &end, nullptr);
        return start != end ? 1 : 0;
    }
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        // One run of plain text.
        *startOffset = 0;
        *endOffset = std::max(offset, characterCount());
        return {};
    }

    // Caret and selection move at once: nothing runs because of them.
    void setCursorPosition(int position) override { Select(position, position); }
    void setSelection(int /*selectionIndex*/, int startOffset, int endOffset) override {
        Select(startOffset, endOffset);
    }
    void addSelection(int startOffset, int endOffset) override { Select(startOffset, endOffset); }
    void removeSelection(int /*selectionIndex*/) override {
        const int caret = cursorPosition();
        Select(caret, caret);
    }

    // An edit is the user's own: it notifies the dialog, whose handler may open a message box.
    // It therefore runs from the event loop, after the answer has gone back.
    void deleteText(int startOffset, int endOffset) override { Later(startOffset, endOffset, QString()); }
    void insertText(int offset, const QString& text) override { Later(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        Later(startOffset, endOffset, text);
    }

protected:
    virtual QString Text() const = 0;
    // The selection's ends in offsets of Text(); `caretFirst` tells whether the caret is at its start.
    virtual void Selection(int* start, int* end, bool* caretFirst) const = 0;
    virtual void Select(int anchor, int caret) = 0;
    virtual void Replace(int start, int end, const QString& text) = 0;
    virtual bool IsReadOnly() const = 0;

    static std::pair<int, int> Clamp(int start, int end, qsizetype length) {
        const int last = static_cast<int>(length);
        const int to = end < 0 || end > last ? last : end;
        return {std::clamp(start, 0, to), to};
    }

private:
    void Later(int start, int end, const QString& text) {
        if (IsReadOnly() || !widget()->isEnabled()) {
            return;
        }
        // The call is dropped with the box; a box disabled meanwhile, by a message box opened
        // since, takes no edit.
        QMetaObject::invokeMethod(
            widget(),
            [this, start, end, text] {
                if (widget()->isEnabled()) {
                    Replace(start, end, text);
                }
            },
            Qt::QueuedConnection);
    }
};

// A single-line box: its text is the widget's, offset for offset.
class AccessibleLineEdit : public AccessibleEdit {
public:
    explicit AccessibleLineEdit(LineEdit* edit) : AccessibleEdit(edit) {}

    QRect characterRect(int offset) const override {
        const QString all = Text();
        const QRect inside = Edit()->contentsRect().marginsRemoved(Edit()->textMargins());
        const QFontMetrics metrics = Edit()->fontMetrics();
        const int x = metrics.horizontalAdvance(all.left(offset));
        const int width = offset < all.size() ? metrics.horizontalAdvance(all.at(offset)) : 1;
        const QRect local(inside.left() + 2 + x, inside.top(), width, inside.height());
        return {Edit()->mapToGlobal(local.topLeft()), local.size()};
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}

protected:
    QString Text() const override { return Edit()->text(); }
    void Selection(int* start, int* end, bool* caretFirst) const override {
        const int caret = Edit()->cursorPosition();
        *start = Edit()->hasSelectedText() ? Edit()->selectionStart() : caret;
        *end = Edit()->hasSelectedText() ? Edit()->selectionEnd() : caret;
        if (caretFirst != nullptr) {
            *caretFirst = caret == *start && *start != *end;
        }
    }
    void Select(int anchor, int caret) override {
        const auto [from, to] = Clamp(std::min(anchor, caret), std::max(anchor, caret), Text().size());
        Edit()->setSelection(anchor <= caret ? from : to, anchor <= caret ? to - from : from - to);
    }
    void Replace(int start, int end, const QString& text) override {
        const auto [from, to] = Clamp(start, end, Text().size());
        Edit()->setSelection(from, to - from);
        Edit()->insert(text);
    }
    bool IsReadOnly() const override { return Edit()->isReadOnly(); }

private:
    LineEdit* Edit() const { return static_cast<LineEdit*>(widget()); }
};

// A multi-line box: its text is the box's text, line breaks as CR LF, every character as itself
// however the document holds it (a stand-in, a paragraph cut in blocks for layout).
class AccessibleMultiLineEdit : public AccessibleEdit {
public:
    explicit AccessibleMultiLineEdit(MultiLineEdit* edit) : AccessibleEdit(edit) {}

    QRect characterRect(int offset) const override {
        QTextCursor at(Edit()->document());  // DocumentPosition applies the program's edits first
        at.setPosition(DocumentPosition(offset));
        const QRect caret = Edit()->cursorRect(at);
        const QChar shown = Edit()->document()->characterAt(at.position());
        const int width = std::max(1, Edit()->fontMetrics().horizontalAdvance(shown));
        return {Edit()->viewport()->mapToGlobal(caret.topLeft()), QSize(width, caret.height())};
    }
    int offsetAtPoint(const QPoint& point) const override {
        Edit()->Flush();
        const QTextCursor at = Edit()->cursorForPosition(Edit()->viewport()->mapFromGlobal(point));
        return Edit()->ToWindowsPosition(at.position());
    }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}

protected:
    QString Text() const override { return QString::fromStdString(Edit()->WindowsText()); }
    void Selection(int* start, int* end, bool* caretFirst) const override {
        Edit()->Selection(start, end);
        if (caretFirst != nullptr) {
            const QTextCursor cursor = Edit()->textCursor();
            *caretFirst = cursor.position() < cursor.anchor();
        }
    }
    void Select(int anchor, int caret) override {
        Edit()->Flush();
        QTextCursor cursor = Edit()->textCursor();
        cursor.setPosition(DocumentPosition(anchor));
        cursor.setPosition(DocumentPosition(caret), QTextCursor::KeepAnchor);
        Edit()->setTextCursor(cursor);
    }
    void Replace(int start, int end, const QString& text) override {
        Select(start, end);
        QTextCursor cursor = Edit()->textCursor();
        DocumentText::FromPastedText(text).InsertAt(cursor);
        Edit()->setTextCursor(cursor);
    }
    bool IsReadOnly() const override { return Edit()->isReadOnly(); }

private:
    MultiLineEdit* Edit() const { return static_cast<MultiLineEdit*>(widget()); }
    int DocumentPosition(int offset) const {
        Edit()->Flush();
        return Edit()->ToCursorPosition(std::max(offset, 0));
    }
};

}  // namespace

QAccessibleInterface* DescribeEdit(LineEdit* edit) { return new AccessibleLineEdit(edit); }

QAccessibleInterface* DescribeEdit(MultiLineEdit* edit) { return new AccessibleMultiLineEdit(edit); }

}  // namespace afx
