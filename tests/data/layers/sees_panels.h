#pragma once

#include "base/theme.h"
#include "panels/uart_terminal.h"
