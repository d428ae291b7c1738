#include "simulator/debugger.h"

namespace korvo {

void TPicoBlazeDebugger::SetCodeEntry(int address, const TCodeEntry& entry) {
    if (address < 0 || address >= CodeSize()) throw EMapError();
    codeImage_[address] = entry;
}

void TPicoBlazeDebugger::GetCodeEntry(int address, TCodeEntry& entry) const {
    if (address >= 0 && address < CodeSize()) entry = codeImage_[address];
}

void TPicoBlazeDebugger::ClearCodeImage() { codeImage_.fill(TCodeEntry{}); }

TMemMapItem TPicoBlazeDebugger::GetPortItem(int address) const {
    return address >= 0 && address < kPortCount ? portMap_[address] : TMemMapItem{};
}

void TPicoBlazeDebugger::SetPortItem(int address, const TMemMapItem& item) {
    if (address >= 0 && address < kPortCount) portMap_[address] = item;
}

std::unique_ptr<TPicoBlazeDebugger> CreateDebugger(TCoreKind kind) {
    switch (kind) {
    case TCoreKind::pbtII: return std::make_unique<TPicoBlazeIIDebugger>();
    case TCoreKind::pbt3: return std::make_unique<TPicoBlaze3Debugger>();
    case TCoreKind::pbtC: return std::make_unique<TPicoBlazeCDebugger>();
    default: return std::make_unique<TPicoBlazeIDebugger>();
    }
}

} // namespace korvo
