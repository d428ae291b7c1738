#pragma once

#include "common/code_entry.h"
#include "common/core_kind.h"
#include "common/mem_map.h"

#include <stdexcept>
#include <vector>

namespace korvo {

// Raised when a code-image entry is stored outside the code space.
class EMapError : public std::runtime_error {
public:
    EMapError() : std::runtime_error("Map") {}
};

// What an assembly fills: the code image of one core and the port map. The
// simulator is one; TAssemblyImage keeps them for callers without one.
class IAssemblySink {
public:
    virtual ~IAssemblySink() = default;
    virtual TCoreKind CoreKind() const = 0;
    // Words of code space.
    virtual int CodeSize() const = 0;
    // Throws EMapError outside 0..CodeSize()-1.
    virtual void SetCodeEntry(int address, const TCodeEntry& entry) = 0;
    // Leaves entry unchanged outside 0..CodeSize()-1.
    virtual void GetCodeEntry(int address, TCodeEntry& entry) const = 0;
    // The program contains FETCH or STORE.
    virtual void SetUsesScratchPad(bool uses) = 0;
    virtual void SetPortItem(int address, const TMemMapItem& item) = 0;
};

// A code image and port map in memory.
class TAssemblyImage : public IAssemblySink {
public:
    // The whole code space of the core's largest build.
    explicit TAssemblyImage(TCoreKind kind)
        : TAssemblyImage(kind, CoreDescription(kind).CodeSize) {}
    // codeSize words of code space: the program size a core with build
    // options was built with.
    TAssemblyImage(TCoreKind kind, int codeSize)
        : kind_(kind), entries_(static_cast<std::size_t>(codeSize)) {}

    TCoreKind CoreKind() const override { return kind_; }
    int CodeSize() const override { return static_cast<int>(entries_.size()); }
    void SetCodeEntry(int address, const TCodeEntry& entry) override {
        if (address < 0 || address >= CodeSize()) throw EMapError();
        entries_[static_cast<std::size_t>(address)] = entry;
    }
    void GetCodeEntry(int address, TCodeEntry& entry) const override {
        if (address >= 0 && address < CodeSize())
            entry = entries_[static_cast<std::size_t>(address)];
    }
    void SetUsesScratchPad(bool uses) override { usesScratchPad_ = uses; }
    void SetPortItem(int address, const TMemMapItem& item) override {
        if (address >= 0 && address < kPortCount) ports_[static_cast<std::size_t>(address)] = item;
    }

    TCodeEntry Entry(int address) const {
        TCodeEntry entry;
        GetCodeEntry(address, entry);
        return entry;
    }
    bool UsesScratchPad() const { return usesScratchPad_; }
    const TMemMap& Ports() const { return ports_; }

private:
    TCoreKind kind_;
    std::vector<TCodeEntry> entries_;
    TMemMap ports_{};
    bool usesScratchPad_ = false;
};

} // namespace korvo
