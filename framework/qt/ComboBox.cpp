// The combo box (ComboBox.h), whose code is all in its header. Qt only.
#include "framework/qt/ComboBox.h"
