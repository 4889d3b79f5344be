#pragma once
#include "check/CheckContext.h"

namespace photocheck {

// Stage 2: head top, light-blue background and clarity, measured on a copy of orgImage. Leaves the
// hair top row less 5 in ctx.headUp when it finds a hair row.
bool BackgroundAndClarityCheck(CheckContext& ctx);

}  // namespace photocheck
