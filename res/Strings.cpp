#include "framework/Resources.h"
#include "framework/StringIds.h"
#include "res/Resource.h"

namespace res {

extern const StringEntry kStrings[] = {
    {IDS_ABOUTBOX, "关于 Quenzo(&A)..."},
    {IDS_SOCKETS_INIT_FAILED, "Windows 通信端口初始化失败。"},
    {AFX_IDS_RESOURCE_EXCEPTION, "必需的资源无法得到。"},
    {AFX_IDS_MEMORY_EXCEPTION, "内存不足。"},
    {AFX_IDP_FAILED_TO_LAUNCH_HELP, "启动帮助失败。"},
    {AFX_IDP_INTERNAL_FAILURE, "内部应用程序出错。"},
    {AFX_IDP_COMMAND_FAILURE, "命令失败。"},
    {AFX_IDP_PARSE_INT, "请键入一个整数。"},
    {AFX_IDP_PARSE_INT_RANGE, "“请填入一个在%1和%2之间的整数。”"},
    {AFX_IDP_PARSE_UINT, "“请填入一个正整数。”"},
};
extern const std::size_t kStringCount = std::size(kStrings);

}  // namespace res
