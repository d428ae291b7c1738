#!/usr/bin/env python3
"""Derives the expected PicoBlaze 3 words of a KCPSM3 test program.

A small model of the KCPSM3 language written only to produce test data, from
the PicoBlaze 3 instruction layout: names are case-sensitive and each kind
(label, CONSTANT, NAMEREG) has its own table, register names s0-sF take any
letter case, a NAMEREG holds from its line on and retires the old name,
numbers are hexadecimal without prefix, ";" starts a comment anywhere.

usage: kcpsm3_words.py PROGRAM.psm > PROGRAM.hex
The output has the KCPSM3 .hex layout: 1024 lines of 5 hex digits, CR LF.
"""
import re
import sys

ALU = {"LOAD": 0x00, "AND": 0x0A, "OR": 0x0C, "XOR": 0x0E, "TEST": 0x12, "COMPARE": 0x14,
       "ADD": 0x18, "ADDCY": 0x1A, "SUB": 0x1C, "SUBCY": 0x1E}
PORT = {"INPUT": 0x04, "FETCH": 0x06, "OUTPUT": 0x2C, "STORE": 0x2E}
SHIFT = {"SLA": 0x0, "RL": 0x2, "SLX": 0x4, "SL0": 0x6, "SL1": 0x7,
         "SRA": 0x8, "SRX": 0xA, "RR": 0xC, "SR0": 0xE, "SR1": 0xF}
BRANCH = {"JUMP": 0x34, "CALL": 0x30}
CONDITION = {"Z": 4, "NZ": 5, "C": 6, "NC": 7}
DEFAULT_REGISTER = re.compile(r"^[sS]([0-9a-fA-F])$")
HEX = re.compile(r"^[0-9a-fA-F]+$")


class ProgramError(Exception):
    pass


def statements(text):
    """(line number, label, mnemonic, operands) of every line."""
    for number, line in enumerate(re.split(r"\r\n|\r|\n", text), 1):
        line = line.split(";", 1)[0].strip()
        label = None
        match = re.match(r"^([A-Za-z0-9_]+):(.*)$", line)
        if match:
            label, line = match.group(1), match.group(2).strip()
        if not line:
            yield number, label, None, []
            continue
        parts = line.split(None, 1)
        operands = [o.strip() for o in parts[1].split(",")] if len(parts) > 1 else []
        yield number, label, parts[0].upper(), operands


class Registers:
    def __init__(self):
        self.aliases = {}
        self.retired = set()

    def number(self, word):
        if word in self.aliases:
            return self.aliases[word]
        match = DEFAULT_REGISTER.match(word)
        if match and int(match.group(1), 16) not in self.retired:
            return int(match.group(1), 16)
        return None

    def rename(self, old, new):
        register = self.number(old)
        if register is None:
            raise ProgramError("NAMEREG of unknown register " + old)
        if old in self.aliases:
            del self.aliases[old]
        else:
            self.retired.add(register)
        match = DEFAULT_REGISTER.match(new)
        if match:
            if int(match.group(1), 16) != register:
                raise ProgramError("NAMEREG back to another register")
            self.retired.discard(register)
        else:
            self.aliases[new] = register


def hex_value(word, limit, what):
    if not HEX.match(word) or int(word, 16) > limit:
        raise ProgramError("bad " + what + " " + word)
    return int(word, 16)


def assemble(text):
    labels, constants = {}, {}
    address = 0
    for number, label, mnemonic, operands in statements(text):
        if label is not None:
            if label in labels:
                raise ProgramError("line %d: label %s twice" % (number, label))
            labels[label] = address
        if mnemonic == "ADDRESS":
            address = hex_value(operands[0], 0x3FF, "address")
        elif mnemonic == "CONSTANT":
            if operands[0] in constants:
                raise ProgramError("line %d: constant %s twice" % (number, operands[0]))
            constants[operands[0]] = hex_value(operands[1], 0xFF, "constant")
        elif mnemonic not in (None, "NAMEREG"):
            address += 1

    words = [0] * 1024
    used = set()
    registers = Registers()
    address = 0

    def register(word):
        value = registers.number(word)
        if value is None:
            raise ProgramError("not a register: " + word)
        return value

    def target(word):
        return labels[word] if word in labels else hex_value(word, 0x3FF, "address")

    for number, label, mnemonic, operands in statements(text):
        try:
            if mnemonic in (None, "CONSTANT"):
                continue
            if mnemonic == "ADDRESS":
                address = hex_value(operands[0], 0x3FF, "address")
                continue
            if mnemonic == "NAMEREG":
                registers.rename(operands[0], operands[1])
                continue
            if mnemonic in ALU or mnemonic in PORT:
                base = ALU.get(mnemonic, PORT.get(mnemonic))
                x, second = register(operands[0]), operands[1]
                inner = second[1:-1].strip() if second.startswith("(") else None
                if inner is not None or (mnemonic in ALU and registers.number(second) is not None):
                    word = ((base | 1) << 12) | (x << 8) | (register(inner or second) << 4)
                else:
                    k = constants[second] if second in constants else hex_value(second, 0xFF, "constant")
                    word = (base << 12) | (x << 8) | k
            elif mnemonic in SHIFT:
                word = (0x20 << 12) | (register(operands[0]) << 8) | SHIFT[mnemonic]
            elif mnemonic in BRANCH:
                condition = CONDITION[operands[0].upper()] if len(operands) == 2 else 0
                word = (BRANCH[mnemonic] << 12) | (condition << 10) | target(operands[-1])
            elif mnemonic == "RETURN":
                condition = CONDITION[operands[0].upper()] if operands else 0
                word = (0x2A << 12) | (condition << 10)
            elif mnemonic == "RETURNI":
                word = (0x38 << 12) | {"ENABLE": 1, "DISABLE": 0}[operands[0].upper()]
            elif mnemonic in ("ENABLE", "DISABLE"):
                if [o.upper() for o in operands] != ["INTERRUPT"]:
                    raise ProgramError("INTERRUPT expected")
                word = (0x3C << 12) | (1 if mnemonic == "ENABLE" else 0)
            else:
                raise ProgramError("unknown mnemonic " + mnemonic)
        except (ProgramError, KeyError, IndexError) as error:
            raise ProgramError("line %d: %s" % (number, error))
        if address in used:
            raise ProgramError("line %d: address %03X used twice" % (number, address))
        used.add(address)
        words[address] = word
        address += 1
    return words


def main():
    with open(sys.argv[1], "rb") as source:
        words = assemble(source.read().decode("latin-1"))
    sys.stdout.buffer.write("".join("%05X\r\n" % word for word in words).encode("ascii"))


if __name__ == "__main__":
    main()
