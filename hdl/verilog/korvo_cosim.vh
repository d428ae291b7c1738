// The calls into libkorvo_cosim for the Verilog models: the system
// functions of korvo_cosim.vpi under Icarus (iverilog and vvp -m
// korvo_cosim), DPI-C imports under Verilator. Each model includes this
// file; the names below are the same under both.
`ifndef KORVO_COSIM_VH
`define KORVO_COSIM_VH
`ifdef VERILATOR
import "DPI-C" function int korvo_cosim_create(input int core, input int hwbuild,
                                               input int interrupt_vector, input int scratch_pad_size);
import "DPI-C" function int korvo_cosim_load_program(input int handle, input string path);
import "DPI-C" function int korvo_cosim_trace(input int handle, input string path);
import "DPI-C" function string korvo_cosim_last_error(input int handle);
import "DPI-C" function void korvo_cosim_clock(input int handle, input int instruction,
                                               input int in_port, input int interrupt_line,
                                               input int sleep, input int reset);
import "DPI-C" function void korvo_cosim_instruction(input int handle, input int instruction);
import "DPI-C" function int korvo_cosim_bus(input int handle);
import "DPI-C" function int korvo_cosim_strobes(input int handle);
import "DPI-C" function int korvo_cosim_instructions_low(input int handle);
import "DPI-C" function int korvo_cosim_pc(input int handle);
`define korvo_create korvo_cosim_create
`define korvo_load_program korvo_cosim_load_program
`define korvo_trace korvo_cosim_trace
`define korvo_last_error korvo_cosim_last_error
`define korvo_clock korvo_cosim_clock
`define korvo_instruction korvo_cosim_instruction
`define korvo_bus korvo_cosim_bus
`define korvo_strobes korvo_cosim_strobes
`define korvo_instructions_low korvo_cosim_instructions_low
`define korvo_pc korvo_cosim_pc
`else
`define korvo_create $korvo_cosim_create
`define korvo_load_program $korvo_cosim_load_program
`define korvo_trace $korvo_cosim_trace
`define korvo_last_error $korvo_cosim_last_error
`define korvo_clock $korvo_cosim_clock
`define korvo_instruction $korvo_cosim_instruction
`define korvo_bus $korvo_cosim_bus
`define korvo_strobes $korvo_cosim_strobes
`define korvo_instructions_low $korvo_cosim_instructions_low
`define korvo_pc $korvo_cosim_pc
`endif
`endif
