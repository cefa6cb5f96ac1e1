#include "res/Resources.h"

#include "res/Resource.h"

namespace res {
extern const DialogTemplate kDialogs[];
extern const std::size_t kDialogCount;
extern const StringEntry kStrings[];
extern const std::size_t kStringCount;
extern const VersionInfo kVersion;
extern const unsigned char kMainIcon[];
extern const std::size_t kMainIconSize;
}  // namespace res

const ResourceTable& QuenzoResources() {
    static const IconEntry icons[] = {{IDR_MAINFRAME, {res::kMainIcon, res::kMainIconSize}}};
    static const ResourceTable table{
        {res::kDialogs, res::kDialogCount}, {res::kStrings, res::kStringCount}, &res::kVersion, icons};
    return table;
}
