#include "res/Resources.h"

namespace res {
extern const DialogTemplate kDialogs[];
extern const std::size_t kDialogCount;
extern const StringEntry kStrings[];
extern const std::size_t kStringCount;
extern const VersionInfo kVersion;
}  // namespace res

const ResourceTable& QuenzoResources() {
    static const ResourceTable table{{res::kDialogs, res::kDialogCount}, {res::kStrings, res::kStringCount},
                                     &res::kVersion};
    return table;
}
