#include "framework/HandlerBoundary.h"

#include <utility>

namespace {
AfxErrorReporter& Reporter() {
    static AfxErrorReporter reporter;
    return reporter;
}
}  // namespace

void AfxReportHandlerError(const CException& error, UINT message) {
    if (Reporter()) {
        Reporter()(error, message);
    }
}

void AfxSetErrorReporter(AfxErrorReporter reporter) { Reporter() = std::move(reporter); }
