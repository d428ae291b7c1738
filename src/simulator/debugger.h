#pragma once

#include "common/code_entry.h"
#include "common/core_kind.h"
#include "common/mem_map.h"

#include <array>
#include <memory>
#include <stdexcept>

namespace korvo {

// Raised when a code-image entry is stored outside the code space.
class EMapError : public std::runtime_error {
public:
    EMapError() : std::runtime_error("Map") {}
};

inline constexpr int kCodeImageSize = 1024;

// The simulator of one document, without knowledge of any core.
class TDebugger {
public:
    virtual ~TDebugger() = default;

    virtual int CodeSize() const { return 0; }
    // Throws EMapError outside 0..CodeSize()-1.
    virtual void SetCodeEntry(int address, const TCodeEntry& entry) = 0;
    // Leaves entry unchanged outside 0..CodeSize()-1.
    virtual void GetCodeEntry(int address, TCodeEntry& entry) const = 0;
    virtual void ClearCodeImage() = 0;
};

// The PicoBlaze family: code image, port map, registers and flags.
class TPicoBlazeDebugger : public TDebugger {
public:
    virtual TCoreKind CoreKind() const = 0;

    void SetCodeEntry(int address, const TCodeEntry& entry) override;
    void GetCodeEntry(int address, TCodeEntry& entry) const override;
    void ClearCodeImage() override;

    virtual bool UsesScratchPad() const { return false; }
    // Only the PicoBlaze 3 keeps the flag; the assembler calls it for that core.
    virtual void SetUsesScratchPad(bool) {}

    TMemMapItem GetPortItem(int address) const;
    void SetPortItem(int address, const TMemMapItem& item);

protected:
    std::array<TCodeEntry, kCodeImageSize> codeImage_{};
    TMemMap portMap_{};
};

class TPicoBlazeIDebugger : public TPicoBlazeDebugger {
public:
    TPicoBlazeIDebugger() { ClearCodeImage(); }
    TCoreKind CoreKind() const override { return TCoreKind::pbtI; }
    int CodeSize() const override { return 256; }
};

class TPicoBlazeIIDebugger : public TPicoBlazeDebugger {
public:
    TPicoBlazeIIDebugger() { ClearCodeImage(); }
    TCoreKind CoreKind() const override { return TCoreKind::pbtII; }
    int CodeSize() const override { return 1024; }
};

class TPicoBlaze3Debugger : public TPicoBlazeDebugger {
public:
    TPicoBlaze3Debugger() { ClearCodeImage(); }
    TCoreKind CoreKind() const override { return TCoreKind::pbt3; }
    int CodeSize() const override { return 1024; }
    bool UsesScratchPad() const override { return usesScratchPad_; }
    void SetUsesScratchPad(bool uses) override { usesScratchPad_ = uses; }

private:
    bool usesScratchPad_ = false;
};

class TPicoBlazeCDebugger : public TPicoBlazeDebugger {
public:
    TPicoBlazeCDebugger() { ClearCodeImage(); }
    TCoreKind CoreKind() const override { return TCoreKind::pbtC; }
    int CodeSize() const override { return 256; }
};

// The simulator class of a core; PicoBlaze I for an unknown kind.
std::unique_ptr<TPicoBlazeDebugger> CreateDebugger(TCoreKind kind);

} // namespace korvo
