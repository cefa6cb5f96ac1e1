// Text between the box's CR LF form and its document (DocumentText.h). Qt only: the system's
// edit control keeps its text as given.
#include "framework/qt/DocumentText.h"

#include "framework/qt/MultiLineEdit.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstring>

namespace afx {
namespace {

// The character format property that holds the character a stand-in stands for.
constexpr int kStandsFor = QTextFormat::UserProperty + 1;

// Characters that inserting into a document turns into a paragraph break. Almost every character
// lies strictly between CR and U+2029, which the first test settles.
inline bool BreaksParagraph(char16_t c) {
    if (c > u'\r' && c < 0x2029) {
        return false;
    }
    return c == u'\r' || c == u'\n' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
}

// The character drawn for a stand-in: one of the private-use area, unique per character.
QChar StandInGlyph(char16_t standsFor) { return QChar(static_cast<char16_t>(0xE000 | (standsFor & 0x0FFF))); }

QTextCharFormat StandInFormat(char16_t standsFor) {
    QTextCharFormat format;
    format.setProperty(kStandsFor, static_cast<int>(standsFor));
    return format;
}

// What the character at `position` of a document stands for, or 0 when it is only itself.
char16_t StandsForAt(const QTextDocument* document, int position) {
    if (position < 0) {
        return 0;
    }
    const QTextBlock block = document->findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (position >= fragment.position() && position < fragment.position() + fragment.length()) {
            const QVariant standsFor = fragment.charFormat().property(kStandsFor);
            return standsFor.isValid() ? static_cast<char16_t>(standsFor.toInt()) : 0;
        }
    }
    return 0;
}

}  // namespace

QTextCharFormat PlainFormat() { return {}; }

void DocumentText::AddStandIn(char16_t standsFor) {
    m_standIns.push_back({m_text.size(), standsFor});
    m_text += StandInGlyph(standsFor);
}

bool DocumentText::StartsWith(char16_t standsFor) const {
    return !m_standIns.empty() && m_standIns.front().at == 0 && m_standIns.front().standsFor == standsFor;
}

bool DocumentText::EndsWith(char16_t standsFor) const {
    return !m_standIns.empty() && m_standIns.back().at == m_text.size() - 1 && m_standIns.back().standsFor == standsFor;
}

DocumentText DocumentText::FromWindowsText(std::string_view text) {
    DocumentText result;
    result.m_text = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const auto has = [text](char byte) { return std::memchr(text.data(), byte, text.size()) != nullptr; };
    // The bytes of every character that breaks a paragraph are CR, LF or start with E2 (U+2029) or
    // EF (U+FDD0, U+FDD1); the library's byte search finds them fast, and most text has none.
    const bool wide = has('\xE2') || has('\xEF');
    if (!wide && !has('\r') && !has('\n')) {
        return result;
    }
    // Rewritten in place: a CR LF pair becomes one paragraph break, every other character stays
    // one character, so the text only ever shrinks and what is written never overtakes what is read.
    qsizetype written = 0;
    if (wide) {
        result.RewriteEveryCharacter(written);
    } else {
        result.RewriteAtLineBreaks(written);
    }
    result.m_text.truncate(written);
    return result;
}

qsizetype DocumentText::RewriteBreak(qsizetype at, qsizetype& written) {
    char16_t* out = reinterpret_cast<char16_t*>(m_text.data());
    const char16_t c = out[at];
    if (c == u'\r' && at + 1 < m_text.size() && out[at + 1] == u'\n') {
        out[written++] = u'\n';
        return at + 2;
    }
    m_standIns.push_back({written, c});
    out[written++] = StandInGlyph(c).unicode();
    return at + 1;
}

void DocumentText::RewriteEveryCharacter(qsizetype& written) {
    char16_t* out = reinterpret_cast<char16_t*>(m_text.data());
    const qsizetype size = m_text.size();
    for (qsizetype at = 0; at < size;) {
        if (BreaksParagraph(out[at])) {
            at = RewriteBreak(at, written);
        } else {
            out[written++] = out[at++];
        }
    }
}

// Only CR and LF to look for: the runs between them move as blocks, found by Qt's own vectorised
// search.
void DocumentText::RewriteAtLineBreaks(qsizetype& written) {
    char16_t* out = reinterpret_cast<char16_t*>(m_text.data());
    const qsizetype size = m_text.size();
    const QStringView view(out, size);
    const auto next = [&](char16_t c, qsizetype from) {
        const qsizetype found = view.indexOf(QChar(c), from);
        return found < 0 ? size : found;
    };
    qsizetype nextCr = next(u'\r', 0);
    qsizetype nextLf = next(u'\n', 0);
    qsizetype from = 0;
    while (from < size) {
        const qsizetype special = std::min(nextCr, nextLf);
        if (special > from && written != from) {
            std::memmove(out + written, out + from, static_cast<std::size_t>(special - from) * sizeof(char16_t));
        }
        written += special - from;
        if (special == size) {
            break;
        }
        from = RewriteBreak(special, written);
        if (nextCr < from) {
            nextCr = next(u'\r', from);
        }
        if (nextLf < from) {
            nextLf = next(u'\n', from);
        }
    }
}

DocumentText DocumentText::FromPastedText(const QString& text) {
    DocumentText result;
    result.m_text.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            result.m_text += u'\n';
            ++i;
        } else if (c == u'\n') {
            result.m_text += u'\n';
        } else if (BreaksParagraph(c)) {
            result.AddStandIn(c);
        } else {
            result.m_text += QChar(c);
        }
    }
    return result;
}

void DocumentText::Append(const DocumentText& more) {
    qsizetype skip = 0;
    if (EndsWith(u'\r') && more.StartsWith(u'\n')) {
        m_standIns.pop_back();
        m_text.back() = u'\n';
        skip = 1;
    }
    const qsizetype offset = m_text.size() - skip;
    m_text += QStringView(more.m_text).mid(skip);
    for (const StandIn& standIn : more.m_standIns) {
        if (standIn.at >= skip) {
            m_standIns.push_back({standIn.at + offset, standIn.standsFor});
        }
    }
}

void DocumentText::InsertAt(QTextCursor& cursor) const {
    cursor.beginEditBlock();
    if (cursor.hasSelection()) {
        cursor.removeSelectedText();
    }
    qsizetype from = 0;
    if (StartsWith(u'\n') && StandsForAt(cursor.document(), cursor.position() - 1) == u'\r') {
        cursor.deletePreviousChar();
        cursor.insertText(QStringLiteral("\n"), PlainFormat());
        from = 1;
    }
    for (const StandIn& standIn : m_standIns) {
        if (standIn.at < from) {
            continue;
        }
        if (standIn.at > from) {
            cursor.insertText(m_text.mid(from, standIn.at - from), PlainFormat());
        }
        cursor.insertText(QString(m_text.at(standIn.at)), StandInFormat(standIn.standsFor));
        from = standIn.at + 1;
    }
    if (from < m_text.size()) {
        cursor.insertText(m_text.mid(from), PlainFormat());
    }
    cursor.endEditBlock();
}

QString DocumentRange(const QTextDocument* document, int from, int to, const QString& lineBreak) {
    const int end = to < 0 ? document->characterCount() - 1 : to;
    QString out;
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() <= end;
         block = block.next()) {
        // The paragraph break before this block lies inside the range; a block that continues its
        // paragraph has none.
        if (block.position() > from && !IsContinuation(block)) {
            out += lineBreak;
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(fragment.position(), from);
            const int stop = std::min(fragment.position() + fragment.length(), end);
            if (start >= stop) {
                continue;
            }
            const QString text = fragment.text().mid(start - fragment.position(), stop - start);
            const QVariant standsFor = fragment.charFormat().property(kStandsFor);
            if (!standsFor.isValid()) {
                out += text;
                continue;
            }
            const auto original = static_cast<char16_t>(standsFor.toInt());
            for (const QChar c : text) {
                // A character typed next to a stand-in may share its format; only the glyph stands in.
                out += c == StandInGlyph(original) ? QChar(original) : c;
            }
        }
    }
    return out;
}

}  // namespace afx
