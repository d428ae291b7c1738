#pragma once

#include "assembler/directive_table.h"
#include "assembler/parser_state.h"

#include <string_view>

namespace korvo {

// The directive of a keyword (all upper or all lower case); one that does
// nothing when unknown.
const TDirective& DirectiveOf(std::string_view spelling);

// A checked ORG address; raises the ORG messages.
int CheckedOrgAddress(const TLineContext& context, std::int32_t value);

// Included files hold declarations only: raises the error for an
// instruction, a label or an ORG in one.
void RefuseInIncludedFile(const TLineContext& context);

} // namespace korvo
