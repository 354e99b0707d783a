#pragma once
// Why a file access failed, in Simplified Chinese: shared by the window's
// messages and the command-line tool's.

#include "core/Error.h"

#include <string>

namespace varnel {

// The platform's own reason, or a sentence for one of the program's refusals.
std::string reasonText(const Error& error);

}  // namespace varnel
