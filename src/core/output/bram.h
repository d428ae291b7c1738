#pragma once

#include "common/log.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvo {

// A byte memory attached to a port by the BROM directive. The program sets
// its current address by writing the port and reads the byte there by
// reading it. The address always runs to 65535, whatever the size; bytes past
// the end read as 0 and writes there are dropped.
class TBRAM {
public:
    std::vector<std::uint8_t> Data;
    std::uint16_t AddressLow = 0;
    std::uint16_t AddressHigh = 0;
    std::string FileName; // initialisation file; empty when none was named
    std::uint16_t Port = 0;
    std::string Name; // the identifier from the directive, used in messages

    // The size is taken modulo 65536; new bytes are 0.
    void SetSize(std::int64_t size);
    int Size() const { return static_cast<int>(Data.size()); }
    void SetFileName(const std::string& fileName) { FileName = fileName; }
    void SetName(const std::string& name) { Name = name; }
    void SetPort(int port) { Port = static_cast<std::uint16_t>(port); }

    void SetAddress(std::int64_t address);
    int Address() const { return AddressHigh * 256 + AddressLow; }
    // Stores the low 8 bits at the current address; the address does not move.
    void Write(std::int64_t value);
    // The byte at the current address, 0 past the end.
    std::uint8_t Read() const;

    // Fills the memory from FileName: byte values in hexadecimal separated by
    // spaces or commas, "@hex" moving the address. The first failure stops
    // loading and logs "Failure: in BRAM '<Name>' init: <reason>"; bytes
    // loaded before it stay.
    void LoadInitFile(ILog& log);
};

// The block RAMs of one assembly. The port map and the simulator share them,
// so a simulator keeps its block RAMs after the next assembly has started.
using TBRAMList = std::vector<std::shared_ptr<TBRAM>>;

} // namespace korvo
