// The calls of libkorvo_cosim as Verilog system functions and tasks for VPI
// simulators (Icarus): $korvo_cosim_create(...) and so on, one for each
// function of the C interface, with the same arguments. The Verilog models
// in hdl/verilog call these under Icarus and the DPI-C imports under
// Verilator, through the names of korvo_cosim.vh.
#include "korvo_cosim.h"

#include <vpi_user.h>

#include <cstring>

namespace {

constexpr int MaxArguments = 6;
// The width of $korvo_cosim_last_error's result: 255 characters.
constexpr int MessageBits = 8 * 255;

struct TArguments {
    int Count = 0;
    vpiHandle Items[MaxArguments] = {};
};

// The arguments of a call site, found on its first call and kept with it:
// the models call these on every clock edge.
const TArguments& ArgumentsOf(vpiHandle call) {
    if (auto* kept = static_cast<TArguments*>(vpi_get_userdata(call))) return *kept;
    auto* arguments = new TArguments; // lives as long as the simulation
    if (vpiHandle iterator = vpi_iterate(vpiArgument, call)) {
        while (vpiHandle item = vpi_scan(iterator)) {
            if (arguments->Count == MaxArguments) {
                vpi_free_object(iterator);
                break;
            }
            arguments->Items[arguments->Count++] = item;
        }
    }
    vpi_put_userdata(call, arguments);
    return *arguments;
}

// An argument as an integer: unknown and high-impedance bits read 0, and so
// does a missing argument.
int IntegerOf(const TArguments& arguments, int index) {
    if (index >= arguments.Count) return 0;
    s_vpi_value value;
    value.format = vpiIntVal;
    vpi_get_value(arguments.Items[index], &value);
    return value.value.integer;
}

// An argument as a file name; a parameter given as "" is empty.
const char* TextOf(const TArguments& arguments, int index) {
    if (index >= arguments.Count) return "";
    s_vpi_value value;
    value.format = vpiStringVal;
    vpi_get_value(arguments.Items[index], &value);
    return value.value.str == nullptr ? "" : value.value.str;
}

void ReturnInteger(vpiHandle call, int result) {
    s_vpi_value value;
    value.format = vpiIntVal;
    value.value.integer = result;
    vpi_put_value(call, &value, nullptr, vpiNoDelay);
}

template <int Count, typename TFunction>
int CallWithIntegers(TFunction function, const TArguments& a) {
    if constexpr (Count == 1)
        return function(IntegerOf(a, 0));
    else if constexpr (Count == 3)
        return function(IntegerOf(a, 0), IntegerOf(a, 1), IntegerOf(a, 2));
    else
        return function(IntegerOf(a, 0), IntegerOf(a, 1), IntegerOf(a, 2), IntegerOf(a, 3));
}

// A system function of Count integer arguments that returns the C function's
// integer.
template <int Count, auto Function>
PLI_INT32 IntegerFunction(PLI_BYTE8*) {
    vpiHandle call = vpi_handle(vpiSysTfCall, nullptr);
    ReturnInteger(call, CallWithIntegers<Count>(Function, ArgumentsOf(call)));
    return 0;
}

// $korvo_cosim_load_program(handle, path) and $korvo_cosim_trace(handle, path).
template <auto Function>
PLI_INT32 FileFunction(PLI_BYTE8*) {
    vpiHandle call = vpi_handle(vpiSysTfCall, nullptr);
    const TArguments& arguments = ArgumentsOf(call);
    int handle = IntegerOf(arguments, 0);
    ReturnInteger(call, Function(handle, TextOf(arguments, 1)));
    return 0;
}

PLI_INT32 LastError(PLI_BYTE8*) {
    vpiHandle call = vpi_handle(vpiSysTfCall, nullptr);
    const TArguments& arguments = ArgumentsOf(call);
    const char* message = korvo_cosim_last_error(IntegerOf(arguments, 0));
    char text[MessageBits / 8 + 1] = {};
    std::strncpy(text, message == nullptr ? "" : message, sizeof text - 1);
    s_vpi_value value;
    value.format = vpiStringVal;
    value.value.str = text;
    vpi_put_value(call, &value, nullptr, vpiNoDelay);
    return 0;
}

PLI_INT32 LastErrorSize(PLI_BYTE8*) {
    return MessageBits;
}

PLI_INT32 Clock(PLI_BYTE8*) {
    const TArguments& a = ArgumentsOf(vpi_handle(vpiSysTfCall, nullptr));
    korvo_cosim_clock(IntegerOf(a, 0), IntegerOf(a, 1), IntegerOf(a, 2), IntegerOf(a, 3),
                      IntegerOf(a, 4), IntegerOf(a, 5));
    return 0;
}

PLI_INT32 Instruction(PLI_BYTE8*) {
    const TArguments& a = ArgumentsOf(vpi_handle(vpiSysTfCall, nullptr));
    korvo_cosim_instruction(IntegerOf(a, 0), IntegerOf(a, 1));
    return 0;
}

PLI_INT32 Destroy(PLI_BYTE8*) {
    const TArguments& a = ArgumentsOf(vpi_handle(vpiSysTfCall, nullptr));
    korvo_cosim_destroy(IntegerOf(a, 0));
    return 0;
}

void RegisterFunction(const char* name, PLI_INT32 (*call)(PLI_BYTE8*)) {
    s_vpi_systf_data data = {};
    data.type = vpiSysFunc;
    data.sysfunctype = vpiIntFunc;
    data.tfname = const_cast<PLI_BYTE8*>(name);
    data.calltf = call;
    vpi_register_systf(&data);
}

void RegisterTask(const char* name, PLI_INT32 (*call)(PLI_BYTE8*)) {
    s_vpi_systf_data data = {};
    data.type = vpiSysTask;
    data.tfname = const_cast<PLI_BYTE8*>(name);
    data.calltf = call;
    vpi_register_systf(&data);
}

void RegisterAll() {
    RegisterFunction("$korvo_cosim_create", IntegerFunction<4, korvo_cosim_create>);
    RegisterFunction("$korvo_cosim_load_program", FileFunction<korvo_cosim_load_program>);
    RegisterFunction("$korvo_cosim_trace", FileFunction<korvo_cosim_trace>);
    RegisterFunction("$korvo_cosim_bus", IntegerFunction<1, korvo_cosim_bus>);
    RegisterFunction("$korvo_cosim_strobes", IntegerFunction<1, korvo_cosim_strobes>);
    RegisterFunction("$korvo_cosim_instructions_low",
                     IntegerFunction<1, korvo_cosim_instructions_low>);
    RegisterFunction("$korvo_cosim_instructions_high",
                     IntegerFunction<1, korvo_cosim_instructions_high>);
    RegisterFunction("$korvo_cosim_pc", IntegerFunction<1, korvo_cosim_pc>);
    RegisterFunction("$korvo_cosim_register", IntegerFunction<3, korvo_cosim_register>);
    RegisterFunction("$korvo_cosim_flags", IntegerFunction<1, korvo_cosim_flags>);
    RegisterTask("$korvo_cosim_clock", Clock);
    RegisterTask("$korvo_cosim_instruction", Instruction);
    RegisterTask("$korvo_cosim_destroy", Destroy);

    s_vpi_systf_data message = {};
    message.type = vpiSysFunc;
    message.sysfunctype = vpiSizedFunc;
    message.tfname = const_cast<PLI_BYTE8*>("$korvo_cosim_last_error");
    message.calltf = LastError;
    message.sizetf = LastErrorSize;
    vpi_register_systf(&message);
}

} // namespace

extern "C" {
void (*vlog_startup_routines[])() = {RegisterAll, nullptr};
}
