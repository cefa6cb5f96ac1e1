# The program's version information: the one source of the version table the program carries
# (Version.cpp) and of the Windows program's version resource (quenzo.rc), both made by the build.
set(QUENZO_VERSION_NUMBERS 1 0 0 1)
set(QUENZO_VERSION_LANGUAGE 0804)   # Chinese (Simplified)
set(QUENZO_VERSION_CODE_PAGE 04B0)  # Unicode
set(QUENZO_VERSION_STRINGS
    "CompanyName="
    "FileDescription=Quenzo Microsoft 基础类应用程序"
    "FileVersion=1, 0, 0, 1"
    "InternalName=Quenzo"
    "LegalCopyright=Copyright (C) 2026 the Quenzo developers"
    "LegalTrademarks="
    "OriginalFilename=Quenzo.EXE"
    "ProductName=Quenzo 应用程序"
    "ProductVersion=1, 0, 0, 1")
