#pragma once

#include <string>

namespace korvo {

// The outputs a source asks for: the files its directives name (empty when
// no directive named one) and the command to start after them.
struct TOutputRequests {
    std::string CoeFileName;
    int CoeWidth = 8;
    std::string MemFileName;
    std::string VhdlSkeleton;
    std::string VhdlTarget;
    std::string VhdlEntity;
    std::string HexFileName;
    std::string SvfFileName;
    std::string ExecCommand;
};

} // namespace korvo
