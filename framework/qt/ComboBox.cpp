#include "framework/qt/ComboBox.h"
