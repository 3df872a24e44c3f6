#pragma once
// The test hooks as the layer consults them (internal).

#include "platform/inet/exception.h"

namespace hv6::inet {

// False when a test made setting this option fail.
bool optionAllowed(DWORD option, DWORD value);

}  // namespace hv6::inet
