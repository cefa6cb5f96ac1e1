// Writes the Windows program's resource script: the part made from quenzo.rc.in (icon, manifest,
// version), then the program's dialogs and strings from the tables every platform uses, so that the
// executable carries them as the system's own resources. Built and run on the build machine.
//
// usage: resource-script BASE.rc OUT.rc
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Resources.h"
#include "framework/win32/DialogTemplate.h"

namespace res {
extern const DialogTemplate kDialogs[];
extern const std::size_t kDialogCount;
extern const StringEntry kStrings[];
extern const std::size_t kStringCount;
}  // namespace res

namespace {

// The dialogs are laid out for English text; the strings are the program's Chinese messages.
constexpr const char* kDialogLanguage = "LANGUAGE 0x09, 0x01";  // English (United States), 0x0409
constexpr const char* kStringLanguage = "LANGUAGE 0x04, 0x02";  // Chinese (Simplified), 0x0804
constexpr int kDialogType = 5;                                  // the system's dialog resources

// A string as the resource compiler reads it between double quotes.
std::string Quoted(const char* text) {
    std::string quoted = "\"";
    for (const char* p = text; *p != '\0'; ++p) {
        switch (*p) {
            case '"': quoted += "\"\""; break;
            case '\\': quoted += "\\\\"; break;
            case '\n': quoted += "\\n"; break;
            case '\t': quoted += "\\t"; break;
            default: quoted += *p;
        }
    }
    return quoted + "\"";
}

void WriteDialog(std::ostream& out, const DialogTemplate& dialog) {
    const std::vector<WORD> words = afx::BuildDialogTemplate(dialog);
    out << "// " << dialog.caption << "\n" << dialog.id << " " << kDialogType << "\nBEGIN\n";
    for (std::size_t i = 0; i < words.size(); ++i) {
        char word[8];
        std::snprintf(word, sizeof word, "0x%04X", static_cast<unsigned>(words[i]));
        out << (i % 10 == 0 ? "    " : " ") << word << (i + 1 < words.size() ? "," : "")
            << (i % 10 == 9 || i + 1 == words.size() ? "\n" : "");
    }
    out << "END\n\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: resource-script BASE.rc OUT.rc\n";
        return 2;
    }
    std::ifstream base(argv[1], std::ios::binary);
    if (!base) {
        std::cerr << "resource-script: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::ostringstream script;
    script << base.rdbuf();
    script << "\n" << kDialogLanguage << "\n\n";
    for (std::size_t i = 0; i < res::kDialogCount; ++i) {
        WriteDialog(script, res::kDialogs[i]);
    }
    script << kStringLanguage << "\n\nSTRINGTABLE\nBEGIN\n";
    for (std::size_t i = 0; i < res::kStringCount; ++i) {
        script << "    " << res::kStrings[i].id << ", " << Quoted(res::kStrings[i].text) << "\n";
    }
    script << "END\n";
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << script.str();
    out.close();
    if (!out) {
        std::cerr << "resource-script: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
