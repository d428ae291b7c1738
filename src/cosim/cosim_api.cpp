// The C interface of the co-simulation library: integer handles to core
// models, so that VHDL (VHPIDIRECT), VPI and DPI-C callers need no types of
// their own.
#include "korvo_cosim.h"

#include "cosim/kcpsm3_pins.h"
#include "cosim/kcpsm6_pins.h"
#include "cosim/program_file.h"

#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

using korvo::cosim::TCorePins;
using korvo::cosim::TKcpsm3Pins;
using korvo::cosim::TKcpsm6Pins;
using korvo::cosim::TPinInputs;
using korvo::cosim::TPinOutputs;

namespace {

struct TModel {
    std::unique_ptr<TCorePins> Pins;
    korvo::TCoreKind Core;
    korvo::TCoreOptions Options;
    std::string Error;
};

std::mutex modelsMutex;
std::vector<std::unique_ptr<TModel>> models;
std::string createError;

TModel* Find(int handle) {
    std::lock_guard lock(modelsMutex);
    if (handle < 0 || handle >= static_cast<int>(models.size())) return nullptr;
    return models[static_cast<std::size_t>(handle)].get();
}

std::unique_ptr<TModel> CreateKcpsm3() {
    auto model = std::make_unique<TModel>();
    model->Core = korvo::TCoreKind::pbt3;
    model->Options = {
        .ProgramSize = 1024, .InterruptVector = 0x3FF, .HwBuild = 0, .ScratchPadSize = 64};
    model->Pins = std::make_unique<TKcpsm3Pins>(model->Options);
    return model;
}

std::unique_ptr<TModel> CreateKcpsm6(int hwbuild, int interruptVector, int scratchPadSize) {
    if (hwbuild < 0 || hwbuild > 255) {
        createError = "hwbuild " + std::to_string(hwbuild) + " is not in 0..255";
        return nullptr;
    }
    if (interruptVector < 0 || interruptVector > 4095) {
        createError = "interrupt_vector " + std::to_string(interruptVector) + " is not in 0..4095";
        return nullptr;
    }
    if (!korvo::IsBuildScratchPadSize(scratchPadSize)) {
        createError =
            "scratch_pad_memory_size " + std::to_string(scratchPadSize) + " is not 64, 128 or 256";
        return nullptr;
    }
    auto model = std::make_unique<TModel>();
    model->Core = korvo::TCoreKind::pbt6;
    model->Options = {.ProgramSize = 4096,
                      .InterruptVector = interruptVector,
                      .HwBuild = hwbuild,
                      .ScratchPadSize = scratchPadSize};
    model->Pins = std::make_unique<TKcpsm6Pins>(model->Options);
    return model;
}

int CreateModel(int core, int hwbuild, int interruptVector, int scratchPadSize) {
    std::unique_ptr<TModel> model;
    if (core == 3)
        model = CreateKcpsm3();
    else if (core == 6)
        model = CreateKcpsm6(hwbuild, interruptVector, scratchPadSize);
    else
        createError = "core " + std::to_string(core) + " is neither 3 (KCPSM3) nor 6 (KCPSM6)";
    if (!model) return -1;
    std::lock_guard lock(modelsMutex);
    for (std::size_t i = 0; i < models.size(); ++i) {
        if (!models[i]) {
            models[i] = std::move(model);
            return static_cast<int>(i);
        }
    }
    models.push_back(std::move(model));
    return static_cast<int>(models.size() - 1);
}

} // namespace

extern "C" {

int korvo_cosim_create(int core, int hwbuild, int interrupt_vector, int scratch_pad_size) {
    try {
        return CreateModel(core, hwbuild, interrupt_vector, scratch_pad_size);
    } catch (const std::exception& error) {
        createError = error.what();
        return -1;
    }
}

void korvo_cosim_destroy(int handle) {
    std::lock_guard lock(modelsMutex);
    if (handle >= 0 && handle < static_cast<int>(models.size()))
        models[static_cast<std::size_t>(handle)].reset();
}

int korvo_cosim_load_program(int handle, const char* path) {
    TModel* model = Find(handle);
    if (!model) return -1;
    if (!path || !*path) {
        model->Error = "no program file named";
        return -1;
    }
    try {
        model->Pins->LoadProgram(korvo::cosim::ReadProgramFile(model->Core, model->Options, path));
        return 0;
    } catch (const std::exception& error) {
        model->Error = error.what();
        return -1;
    }
}

const char* korvo_cosim_last_error(int handle) {
    if (handle == -1) return createError.c_str();
    TModel* model = Find(handle);
    return model ? model->Error.c_str() : "no model with this handle";
}

void korvo_cosim_clock(int handle, int instruction, int in_port, int interrupt, int sleep,
                       int reset) {
    TModel* model = Find(handle);
    if (!model) return;
    TPinInputs in{.Instruction = static_cast<std::uint32_t>(instruction),
                  .InPort = static_cast<std::uint8_t>(in_port),
                  .Interrupt = interrupt != 0,
                  .Sleep = sleep != 0,
                  .Reset = reset != 0};
    // Nothing may unwind into the HDL simulator.
    try {
        model->Pins->Clock(in);
    } catch (const std::exception& error) {
        model->Error = error.what();
    }
}

void korvo_cosim_instruction(int handle, int instruction) {
    if (TModel* model = Find(handle))
        model->Pins->SetInstructionPins(static_cast<std::uint32_t>(instruction));
}

int korvo_cosim_bus(int handle) {
    TModel* model = Find(handle);
    if (!model) return 0;
    TPinOutputs out = model->Pins->Outputs();
    return out.Address | out.PortId << 12 | out.OutPort << 20;
}

int korvo_cosim_strobes(int handle) {
    TModel* model = Find(handle);
    if (!model) return 0;
    TPinOutputs out = model->Pins->Outputs();
    return (out.BramEnable ? 1 : 0) | (out.WriteStrobe ? 2 : 0) | (out.KWriteStrobe ? 4 : 0) |
           (out.ReadStrobe ? 8 : 0) | (out.InterruptAck ? 16 : 0);
}

int korvo_cosim_trace(int handle, const char* path) {
    TModel* model = Find(handle);
    if (!model) return -1;
    if (!path || !model->Pins->StartTrace(path)) {
        model->Error = std::string("cannot write the trace to \"") + (path ? path : "") + "\"";
        return -1;
    }
    return 0;
}

int korvo_cosim_instructions_low(int handle) {
    TModel* model = Find(handle);
    return model ? static_cast<int>(model->Pins->Instructions() & 0xFFFFFFFF) : 0;
}

int korvo_cosim_instructions_high(int handle) {
    TModel* model = Find(handle);
    return model ? static_cast<int>(model->Pins->Instructions() >> 32) : 0;
}

int korvo_cosim_pc(int handle) {
    TModel* model = Find(handle);
    return model ? model->Pins->ProgramCounter() : 0;
}

int korvo_cosim_register(int handle, int bank, int index) {
    TModel* model = Find(handle);
    return model ? model->Pins->Register(bank, index) : 0;
}

int korvo_cosim_flags(int handle) {
    TModel* model = Find(handle);
    if (!model) return 0;
    const korvo::TPicoBlazeSimulator& sim = model->Pins->Simulator();
    return (sim.ZeroFlag() ? 1 : 0) | (sim.CarryFlag() ? 2 : 0) | (sim.InterruptEnable() ? 4 : 0) |
           (sim.ActiveBank() != 0 ? 8 : 0);
}
}
