#pragma once
// The assembler runner moved to the shared core test support.
#include "support/core/assembler.h"
