#pragma once
// What a dialog's last form read found in its fields, in the order its exchange read them. The form
// is read for every chunk received, and its fields seldom change: while no control that was read
// has changed since, the next read takes each field from here instead of asking its control again.
//
// The backends count the changes that could make a kept field stale, each in one place, its
// ControlReads (framework/qt/ControlReads.h, framework/win32/ControlReads.h): a change to a control
// after it was read (by the user, the program or another program), a control that was read
// destroyed, and any read whose control's changes they cannot follow. A field without a control is
// never kept.

#include <cstdint>
#include <vector>

#include "framework/String.h"

namespace afx {

std::uint64_t ControlChanges();
void ControlChanged();

// How a field was read: as a check box, an unsigned number, a signed number or text.
enum class FieldKind { Check, Unsigned, Signed, Text };

struct KeptField {
    int id = 0;
    FieldKind kind = FieldKind::Check;
    std::int64_t number = 0;
    CString text;
};

struct FormReads {
    std::uint64_t changes = 0;  // ControlChanges() when the fields were read
    bool whole = false;         // the read ended well, with every field it read kept here
    std::vector<KeptField> fields;
};

}  // namespace afx
