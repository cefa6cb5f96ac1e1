#include "framework/Resources.h"

namespace res {

const StringEntry kVersionStrings[] = {
    {0, "CompanyName="},
    {0, "FileDescription=Quenzo Microsoft 基础类应用程序"},
    {0, "FileVersion=1, 0, 0, 1"},
    {0, "InternalName=Quenzo"},
    {0, "LegalCopyright=Copyright (C) 2026 the Quenzo developers"},
    {0, "LegalTrademarks="},
    {0, "OriginalFilename=Quenzo.EXE"},
    {0, "ProductName=Quenzo 应用程序"},
    {0, "ProductVersion=1, 0, 0, 1"},
};

extern const VersionInfo kVersion = {{1, 0, 0, 1}, {1, 0, 0, 1}, 0x0804, 0x04B0, kVersionStrings};

}  // namespace res
