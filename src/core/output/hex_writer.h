#pragma once

#include "common/log.h"
#include "output/code_words.h"

#include <string>

namespace korvo {

// The HEX file: one data record per 8 words, each word as its low byte then
// bits 15:8, then the end record. Records start with ";". The checksum starts
// from 8 * record + 16, adds each word's low byte and the whole rest of the
// word above bit 7, and is the one's complement of the sum's low byte.
std::string BuildHexText(const TCodeWords& words);

void WriteHexFile(const TCodeWords& words, const std::string& fileName, ILog& log);

} // namespace korvo
