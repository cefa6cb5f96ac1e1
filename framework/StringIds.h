#pragma once
// Ids of the framework's own message strings.

inline constexpr unsigned AFX_IDS_RESOURCE_EXCEPTION = 61474;
inline constexpr unsigned AFX_IDS_MEMORY_EXCEPTION = 61475;
inline constexpr unsigned AFX_IDP_FAILED_TO_LAUNCH_HELP = 61703;
inline constexpr unsigned AFX_IDP_INTERNAL_FAILURE = 61704;
inline constexpr unsigned AFX_IDP_COMMAND_FAILURE = 61705;
inline constexpr unsigned AFX_IDP_PARSE_INT = 61712;
inline constexpr unsigned AFX_IDP_PARSE_INT_RANGE = 61714;
inline constexpr unsigned AFX_IDP_PARSE_UINT = 61719;
