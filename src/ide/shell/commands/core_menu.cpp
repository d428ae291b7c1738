#include "shell/commands/core_menu.h"

namespace korvo {

TCoreMenuEntry CoreMenuEntry(TCoreKind kind) {
    switch (kind) {
    case TCoreKind::none: return {"", ""};
    case TCoreKind::pbtI: return {"actPicoblazeI", "Picoblaze for Virtex/Spartan"};
    case TCoreKind::pbtII: return {"actPicoblazeII", "Picoblaze for Virtex-II"};
    case TCoreKind::pbt3: return {"actPicoblaze3", "Picoblaze for Spartan-3"};
    case TCoreKind::pbtC: return {"actPicoblazeC", "Picoblaze for Coolrunner"};
    case TCoreKind::pbt6:
        return {"actPicoblaze6", "Picoblaze for Spartan-6, Virtex-6 and the 7 series"};
    }
    return {"", ""};
}

} // namespace korvo
