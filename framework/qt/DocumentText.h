#pragma once
// Text as a multi-line box keeps it in its document. The box's text has CR LF line breaks, as the
// window system's edit control has; the document has paragraphs. A character that the document
// cannot hold as itself, because inserting it would break the paragraph (a CR or LF that is not part
// of a CR LF pair, U+2029, and the frame marks U+FDD0 and U+FDD1), is kept as a stand-in: a
// private-use character whose character format names the character it stands for. What the user
// types or pastes, private-use characters included, is kept as itself, so reading the box always
// gives back exactly what went in.
// Qt only: the system's edit control keeps its text as given.

#include <QString>
#include <QTextCharFormat>

#include <string>
#include <string_view>
#include <vector>

class QTextCursor;
class QTextDocument;

namespace afx {

class DocumentText {
public:
    // Windows text, UTF-8: CR LF is a line break; every other character is itself.
    static DocumentText FromWindowsText(std::string_view text);
    // Text from the clipboard or a drop: CR LF and LF are line breaks; a lone CR is itself.
    static DocumentText FromPastedText(const QString& text);

    // Adds `more` behind this text; a stand-in CR at the end and a stand-in LF at its start make one
    // line break, as CR and LF do in the box's text.
    void Append(const DocumentText& more);

    // Inserts at the cursor, replacing its selection. A stand-in CR just before the cursor and a
    // stand-in LF at the start of the text make one line break.
    void InsertAt(QTextCursor& cursor) const;

private:
    void AddStandIn(char16_t standsFor);
    // The steps of FromWindowsText's rewrite of m_text in place, `written` characters kept so far:
    // the character at `at` that breaks a paragraph (returns where reading goes on), and the whole
    // text, looking at every character or only for CR and LF.
    qsizetype RewriteBreak(qsizetype at, qsizetype& written);
    void RewriteEveryCharacter(qsizetype& written);
    void RewriteAtLineBreaks(qsizetype& written);

    struct StandIn {
        qsizetype at;        // position in m_text
        char16_t standsFor;  // the character it stands for
    };
    bool StartsWith(char16_t standsFor) const;
    bool EndsWith(char16_t standsFor) const;

    QString m_text;                   // '\n' between paragraphs, stand-ins in place
    std::vector<StandIn> m_standIns;  // ascending
};

// The characters from `from` to `to` (document positions; -1 for the end), with `lineBreak` between
// paragraphs and every stand-in as the character it stands for.
QString DocumentRange(const QTextDocument* document, int from, int to, const QString& lineBreak);

// The format of text that is only itself; typed text takes it, never a stand-in's.
QTextCharFormat PlainFormat();

}  // namespace afx
