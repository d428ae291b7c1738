#!/usr/bin/env python3
"""Derives the expected PicoBlaze 6 words of a KCPSM6 test program.

A small model of the KCPSM6 language written only to produce test data, from
the PicoBlaze 6 instruction table (opcode in bits 17..12, register form with
bit 12 clear, constant form with bit 12 set): names are case-sensitive and
each kind (label, CONSTANT, NAMEREG, STRING, TABLE) has its own table,
register names s0-sF take any letter case, numbers are hexadecimal unless
written 42'd, 0101'b or "c", label'upper and label'lower give bits 11..8 and
7..0 of an address, ~name inverts a constant; INCLUDE reads a file beside the
including one, OUTPUTK and LOAD&RETURN send a STRING or TABLE one byte per
instruction, DEFAULT_JUMP fills every unused word with a JUMP.

usage: kcpsm6_words.py PROGRAM.psm > PROGRAM.hex
The output has the KCPSM6 .hex layout: 4096 lines of 5 hex digits, CR LF.
"""
import os
import re
import sys

# opcode of the register form; the constant form is one more
ALU = {"LOAD": 0x00, "STAR": 0x16, "AND": 0x02, "OR": 0x04, "XOR": 0x06, "TEST": 0x0C,
       "TESTCY": 0x0E, "ADD": 0x10, "ADDCY": 0x12, "SUB": 0x18, "SUBCY": 0x1A,
       "COMPARE": 0x1C, "COMPARECY": 0x1E}
PORT = {"INPUT": 0x08, "FETCH": 0x0A, "OUTPUT": 0x2C, "STORE": 0x2E}
SHIFT = {"SLA": 0x00, "RL": 0x02, "SLX": 0x04, "SL0": 0x06, "SL1": 0x07,
         "SRA": 0x08, "SRX": 0x0A, "RR": 0x0C, "SR0": 0x0E, "SR1": 0x0F, "HWBUILD": 0x80}
# unconditional, Z, NZ, C, NC
JUMP = {None: 0x22, "Z": 0x32, "NZ": 0x36, "C": 0x3A, "NC": 0x3E}
CALL = {None: 0x20, "Z": 0x30, "NZ": 0x34, "C": 0x38, "NC": 0x3C}
RETURN = {None: 0x25000, "Z": 0x31000, "NZ": 0x35000, "C": 0x39000, "NC": 0x3D000}
PREDEFINED = {"NUL": 0x00, "BEL": 0x07, "BS": 0x08, "HT": 0x09, "LF": 0x0A, "VT": 0x0B,
              "CR": 0x0D, "ESC": 0x1B, "DEL": 0x7F, "DCS": 0x90, "ST": 0x9C}
REGISTER = re.compile(r"^[sS]([0-9a-fA-F])$")


class ProgramError(Exception):
    pass


def split_operands(text):
    """Operands separated by commas, quoted text and bracketed lists kept whole."""
    operands, current, quoted, bracket = [], "", False, False
    for c in text:
        if c == '"':
            quoted = not quoted
        elif not quoted and c == "[":
            bracket = True
        elif not quoted and c == "]":
            bracket = False
        if c == "," and not quoted and not bracket:
            operands.append(current.strip())
            current = ""
        else:
            current += c
    if current.strip():
        operands.append(current.strip())
    return operands


def strip_comment(line):
    quoted = False
    for i, c in enumerate(line):
        if c == '"':
            quoted = not quoted
        elif c == ";" and not quoted:
            return line[:i]
    return line


def read_lines(path, stack=()):
    """The program's lines with its INCLUDE files put in their place."""
    if path in stack:
        raise ProgramError("recursive INCLUDE of " + path)
    with open(path, encoding="latin-1", newline="") as f:
        text = f.read()
    lines = []
    for line in re.split(r"\r\n|\r|\n", text):
        code = strip_comment(line).strip()
        match = re.match(r'^INCLUDE\s+"([^"]+)"$', code, re.IGNORECASE)
        if match:
            lines += read_lines(os.path.join(os.path.dirname(path), match.group(1)),
                                stack + (path,))
        else:
            lines.append(code)
    return lines


def statements(lines):
    for code in lines:
        label = None
        match = re.match(r"^([A-Za-z0-9_]+):(.*)$", code)
        if match:
            label, code = match.group(1), match.group(2).strip()
        if not code:
            yield label, None, []
            continue
        parts = code.split(None, 1)
        operands = split_operands(parts[1]) if len(parts) > 1 else []
        yield label, parts[0].upper(), operands


def table_bytes(text):
    match = re.match(r"^\[(.*)\]('[dDbB])?$", text.strip())
    if not match:
        raise ProgramError("bad TABLE " + text)
    base = {None: 16, "'d": 10, "'b": 2}[match.group(2).lower() if match.group(2) else None]
    return [int(v.strip(), base) for v in match.group(1).split(",") if v.strip()]


class Program:
    def __init__(self, lines):
        self.lines = list(statements(lines))
        self.labels, self.constants, self.strings, self.tables = {}, {}, {}, {}
        self.aliases = {}
        self.words = {}
        self.default_jump = None

    def register(self, word):
        word = word.strip().strip("()").strip()
        if word in self.aliases:
            return self.aliases[word]
        match = REGISTER.match(word)
        if match:
            return int(match.group(1), 16)
        raise ProgramError("not a register: " + word)

    def value(self, word, bits=8):
        word = word.strip()
        if word.startswith("~"):
            return ~self.value(word[1:]) & 0xFF
        match = re.match(r"^(.+)'(upper|lower)$", word, re.IGNORECASE)
        if match:
            address = self.labels[match.group(1)]
            return address >> 8 if match.group(2).lower() == "upper" else address & 0xFF
        if re.match(r'^".+"$', word) and len(word) == 3:
            return ord(word[1])
        match = re.match(r"^([0-9]+)'d$", word, re.IGNORECASE)
        if match:
            return int(match.group(1))
        match = re.match(r"^([01]+)'b$", word, re.IGNORECASE)
        if match:
            return int(match.group(1), 2)
        for table in (self.constants, self.labels):
            if word in table:
                return table[word]
        if word in PREDEFINED:
            return PREDEFINED[word]
        if re.match(r"^[0-9a-fA-F]+$", word):
            return int(word, 16)
        raise ProgramError("no value for " + word)

    def size(self, mnemonic, operands):
        """Words an instruction line takes."""
        if mnemonic == "OUTPUTK" and operands[0] in self.strings:
            return len(self.strings[operands[0]])
        if mnemonic == "OUTPUTK" and operands[0] in self.tables:
            return len(self.tables[operands[0]])
        if mnemonic == "LOAD&RETURN" and operands[1] in self.strings:
            return len(self.strings[operands[1]])
        if mnemonic == "LOAD&RETURN" and operands[1] in self.tables:
            return len(self.tables[operands[1]])
        return 1

    def first_pass(self):
        address = 0
        for label, mnemonic, operands in self.lines:
            if label is not None:
                self.labels[label] = address
            if mnemonic in (None, "CONSTANT", "NAMEREG", "DEFAULT_JUMP"):
                continue
            if mnemonic == "ADDRESS":
                address = int(operands[0], 16)
            elif mnemonic == "STRING":
                self.strings[operands[0]] = operands[1][1:-1]
            elif mnemonic == "TABLE":
                self.tables[operands[0]] = table_bytes(operands[1])
            else:
                address += self.size(mnemonic, operands)

    def second_pass(self):
        address = 0
        for label, mnemonic, operands in self.lines:
            if mnemonic is None or mnemonic in ("STRING", "TABLE"):
                continue
            if mnemonic == "CONSTANT":
                self.constants[operands[0]] = self.value(operands[1])
                continue
            if mnemonic == "NAMEREG":
                number = self.register(operands[0])
                self.aliases.pop(operands[0], None)
                self.aliases[operands[1]] = number
                continue
            if mnemonic == "ADDRESS":
                address = int(operands[0], 16)
                continue
            if mnemonic == "DEFAULT_JUMP":
                self.default_jump = self.value(operands[0])
                continue
            for word in self.encode(mnemonic, operands):
                if address in self.words:
                    raise ProgramError("address %03X used twice" % address)
                self.words[address] = word
                address += 1

    def encode(self, mnemonic, o):
        if mnemonic in ALU:
            x = self.register(o[0]) << 8
            try:
                return [ALU[mnemonic] << 12 | x | self.register(o[1]) << 4]
            except ProgramError:
                return [(ALU[mnemonic] + 1) << 12 | x | self.value(o[1])]
        if mnemonic in PORT:
            x = self.register(o[0]) << 8
            if o[1].startswith("("):
                return [PORT[mnemonic] << 12 | x | self.register(o[1]) << 4]
            return [(PORT[mnemonic] + 1) << 12 | x | self.value(o[1])]
        if mnemonic in SHIFT:
            return [0x14000 | self.register(o[0]) << 8 | SHIFT[mnemonic]]
        if mnemonic in ("JUMP", "CALL"):
            table = JUMP if mnemonic == "JUMP" else CALL
            condition, target = (o[0].upper(), o[1]) if len(o) == 2 else (None, o[0])
            return [table[condition] << 12 | self.value(target)]
        if mnemonic in ("JUMP@", "CALL@"):
            pair = [self.register(r) for r in o]
            base = 0x26000 if mnemonic == "JUMP@" else 0x24000
            return [base | pair[0] << 8 | pair[1] << 4]
        if mnemonic == "RETURN":
            return [RETURN[o[0].upper() if o else None]]
        if mnemonic == "LOAD&RETURN":
            x = self.register(o[0]) << 8
            if o[1] in self.strings:
                return [0x21000 | x | ord(c) for c in self.strings[o[1]]]
            if o[1] in self.tables:
                return [0x21000 | x | b for b in self.tables[o[1]]]
            return [0x21000 | x | self.value(o[1])]
        if mnemonic == "OUTPUTK":
            port = self.value(o[1])
            if o[0] in self.strings:
                return [0x2B000 | ord(c) << 4 | port for c in self.strings[o[0]]]
            if o[0] in self.tables:
                return [0x2B000 | b << 4 | port for b in self.tables[o[0]]]
            return [0x2B000 | self.value(o[0]) << 4 | port]
        if mnemonic == "RETURNI":
            return [0x29001 if o[0].upper() == "ENABLE" else 0x29000]
        if mnemonic in ("ENABLE", "DISABLE"):
            return [0x28001 if mnemonic == "ENABLE" else 0x28000]
        if mnemonic == "REGBANK":
            return [0x37001 if o[0].upper() == "B" else 0x37000]
        if mnemonic == "INST":
            return [int(o[0], 16)]
        raise ProgramError("unknown instruction " + mnemonic)


def main():
    program = Program(read_lines(sys.argv[1]))
    program.first_pass()
    program.second_pass()
    filler = 0 if program.default_jump is None else 0x22000 | program.default_jump
    out = sys.stdout.buffer
    for address in range(4096):
        out.write(b"%05X\r\n" % program.words.get(address, filler))


if __name__ == "__main__":
    main()
