#pragma once

#include "common/log.h"

#include <QString>
