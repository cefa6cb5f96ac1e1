#pragma once
// Ids of the framework's own message strings.

inline constexpr unsigned AFX_IDS_RESOURCE_EXCEPTION = 61474;
inline constexpr unsigned AFX_IDS_MEMORY_EXCEPTION = 61475;
inline constexpr unsigned AFX_IDP_FAILED_TO_LAUNCH_HELP = 61703;
inline constexpr unsigned AFX_IDP_INTERNAL_FAILURE = 61704;
inline constexpr unsigned AFX_IDP_COMMAND_FAILURE = 61705;
