// The multi-line box with random Unicode: private-use characters (the box's own stand-ins among
// them), U+2028, U+2029, the frame marks, lone CR and LF and CR LF pairs. Whatever the program puts
// in, whole or piece by piece, reads back byte for byte; whatever is pasted reads back as itself
// with only its LF and CR LF line breaks turned into CR LF; copying gives back what was pasted, line
// breaks as LF.

#include <fuzzer/FuzzedDataProvider.h>

#include <QApplication>
#include <QClipboard>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/qt/MultiLineEdit.h"

namespace {

void Expect(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "multi-line box: %s\n", what);
        std::abort();
    }
}

// Characters drawn mostly from those that break lines or stand in for them, the rest from all of
// Unicode (no surrogate halves, no zero: the box's text is a C string).
char32_t NextCharacter(FuzzedDataProvider& input) {
    static constexpr char32_t kAwkward[] = {U'\r',     U'\n',  0x2028,  0x2029, 0xFDD0, 0xFDD1, 0xE00D,
                                            0xE00A,    0xE029, 0xEDD0,  0xFFFC, 0xFFFD, U' ',   U'a',
                                            U'\u00E9', 0x4E2D, 0x1F600, 0xFEFF, 0x0085, 0x000C, 0x0009};
    if (input.ConsumeBool()) {
        return kAwkward[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kAwkward) - 1)];
    }
    char32_t c = input.ConsumeIntegralInRange<char32_t>(1, 0x10FFFF);
    return c >= 0xD800 && c <= 0xDFFF ? c - 0x800 : c;
}

// Characters one by one, now and then one of them many times over: long lines are held
// differently from short ones.
QString RandomText(FuzzedDataProvider& input) {
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, 40);
    QString text;
    for (std::size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
        const char32_t c = NextCharacter(input);
        const int times =
            input.ConsumeIntegralInRange<int>(0, 15) == 0 ? input.ConsumeIntegralInRange<int>(1, 3000) : 1;
        text += QString::fromUcs4(&c, 1).repeated(times);
    }
    return text;
}

// Pasted text as the box's text: LF and CR LF become CR LF, everything else stays.
QString AsBoxText(const QString& pasted) {
    QString out;
    for (qsizetype i = 0; i < pasted.size(); ++i) {
        if (pasted.at(i) == u'\r' && i + 1 < pasted.size() && pasted.at(i + 1) == u'\n') {
            out += QStringLiteral("\r\n");
            ++i;
        } else if (pasted.at(i) == u'\n') {
            out += QStringLiteral("\r\n");
        } else {
            out += pasted.at(i);
        }
    }
    return out;
}

// Bytes shown as the text they are.
std::size_t CopyBytes(const unsigned char* data, std::size_t length, char* out) {
    std::memcpy(out, data, length);
    out[length] = '\0';
    return length;
}

afx::MultiLineEdit& Box() {
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "multi_line_edit_fuzz";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    static auto* box = new afx::MultiLineEdit(0, nullptr);
    (void)application;
    box->SetTextLimit(1u << 20);
    return *box;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    afx::MultiLineEdit& box = Box();
    box.SetWindowsText("");

    if (input.ConsumeBool()) {
        // The program: the whole text at once, then the same again in pieces at the caret or the end.
        const std::string whole = RandomText(input).toStdString();
        box.SetWindowsText(whole);
        Expect(box.WindowsText() == whole, "text set whole reads back changed");
        box.SetWindowsText("");
        const QString pieces = QString::fromStdString(whole);
        qsizetype at = 0;
        bool caretAtEnd = true;
        while (at < pieces.size()) {
            qsizetype length = input.ConsumeIntegralInRange<qsizetype>(1, 3000);
            // A piece never ends between the two halves of a character outside the basic plane.
            if (at + length < pieces.size() && pieces.at(at + length).isLowSurrogate()) {
                ++length;
            }
            // At the caret, undoable or not, or at the end as received data goes (as text or as bytes
            // written as text later), which leaves the caret where it was: each way the pieces
            // follow one another.
            const std::string piece = pieces.mid(at, length).toStdString();
            const int way = input.ConsumeIntegralInRange(0, 3);
            if (way >= 2) {
                if (way == 2) {
                    box.Append(piece);
                } else {
                    box.Append(piece, AfxTextOfBytes{CopyBytes, 1});
                }
                caretAtEnd = false;
            } else {
                if (!caretAtEnd) {
                    box.SetSelection(box.TextLength(), box.TextLength());
                    caretAtEnd = true;
                }
                box.ReplaceSelection(piece, way == 1);
            }
            at += length;
        }
        Expect(box.WindowsText() == whole, "text put in piece by piece reads back changed");
    } else {
        // The user pastes, then copies everything.
        const QString pasted = RandomText(input);
        QApplication::clipboard()->setText(pasted);
        box.paste();
        Expect(QString::fromStdString(box.WindowsText()) == AsBoxText(pasted), "pasted text reads back changed");
        box.selectAll();
        box.copy();
        QString expected = AsBoxText(pasted);
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        Expect(QApplication::clipboard()->text() == expected, "copied text differs from what was pasted");
    }
    return 0;
}
