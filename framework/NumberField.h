#pragma once
// How the form reads a number field's text. Kept apart from the exchange itself, which needs the
// window system, so that the parsing can be checked on its own.

#include "framework/AfxTypes.h"

namespace afx {

// Number fields as the form reads them: the first 31 characters; blanks and tabs before; an optional
// sign ("-" never for unsigned) and decimal digits; saturation instead of overflow; 0 only when
// written with a leading "0"; blanks and tabs after, and nothing else.
bool ParseSigned(const char* text, int* value);
bool ParseUnsigned(const char* text, UINT* value);

}  // namespace afx
