#pragma once
#include <stdint.h>
#ifdef __cplusplus
extern "C" {
#endif
/* A core model: core 3 (KCPSM3) or 6 (KCPSM6). For 6: hwbuild 0..255, interrupt_vector 0..4095,
   scratch_pad_size 64, 128 or 256 (the KCPSM6 generics; ignored for 3). Returns a handle >= 0,
   or -1 (korvo_cosim_last_error(-1) says why). */
int korvo_cosim_create(int core, int hwbuild, int interrupt_vector, int scratch_pad_size);
void korvo_cosim_destroy(int handle);
/* Optional: the model takes its instructions from this program (a .psm assembled by Korvo for the
   model's core, a .hex, or a words file of `korvo asm --words`) instead of the instruction pins.
   0 on success, -1 with korvo_cosim_last_error(handle). */
int korvo_cosim_load_program(int handle, const char* path);
const char* korvo_cosim_last_error(int handle);
/* One rising edge of clk, with the input pins as sampled at that edge (instruction: 18 bits;
   interrupt, sleep (KCPSM6 only), reset: 0/1). Afterwards the output pins read as they are after
   the edge: */
void korvo_cosim_clock(int handle, int instruction, int in_port, int interrupt, int sleep,
                       int reset);
/* The instruction pins as they are now, between two edges. port_id and out_port follow them at
   once, as in the core (its ROM's output changes on the edge after bram_enable): call it after
   each korvo_cosim_clock and whenever the instruction pins change. Ignored once a program is
   loaded. */
void korvo_cosim_instruction(int handle, int instruction);
/* address | port_id << 12 | out_port << 20 */
int korvo_cosim_bus(int handle);
/* bit 0 bram_enable, 1 write_strobe, 2 k_write_strobe, 3 read_strobe, 4 interrupt_ack */
int korvo_cosim_strobes(int handle);
/* Writes every completed instruction as `korvo sim --trace` lines do; 0 on success. */
int korvo_cosim_trace(int handle, const char* path);
/* State: instructions completed (low and high 32 bits), PC, a register (bank 0/1, index 0..15),
   flags (bit 0 zero, 1 carry, 2 interrupt enable, 3 bank). */
int korvo_cosim_instructions_low(int handle);
int korvo_cosim_instructions_high(int handle);
int korvo_cosim_pc(int handle);
int korvo_cosim_register(int handle, int bank, int index);
int korvo_cosim_flags(int handle);
#ifdef __cplusplus
}
#endif
