// A block RAM on a port: writing the port sets the block RAM's address,
// reading it returns the byte there.
#include "output/bram.h"
#include "simulator/picoblaze_simulator.h"

namespace korvo {

std::int32_t TPicoBlazeSimulator::ReadBlockRAM(const TMemMapItem& item) const {
    if (!item.BlockRAM) throw EIOError("Error in BRAM construction");
    // Nothing checks the address against the size when it is set; a read
    // past the end gives 0.
    return item.BlockRAM->Read();
}

void TPicoBlazeSimulator::AddressBlockRAM(TMemMapItem& item, std::int32_t value) {
    if (!item.BlockRAM) throw EIOError("Error in BRAM construction");
    item.BlockRAM->SetAddress(value);
}

} // namespace korvo
