#pragma once

#include "assembler/lexer.h"

#include <vector>

namespace korvo {

class ISettingsStore;

// Each highlighter attribute has a sub-key of "Attributes" named after it,
// holding "Foreground", "Background" and "Style".

// Reads every attribute from "Attributes"; a missing or unreadable value
// keeps what the attribute holds.
void LoadHighlighterAttributes(const ISettingsStore& settings,
                               std::vector<TSynHighlighterAttribute>& attributes);

// Writes every attribute to "Attributes".
void SaveHighlighterAttributes(ISettingsStore& settings,
                               const std::vector<TSynHighlighterAttribute>& attributes);

} // namespace korvo
