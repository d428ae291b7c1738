#pragma once

#include "assembler/lexer.h"
#include "common/log.h"
#include "simulator/debugger.h"

#include <string>
