#pragma once
// The HTTP layer: include this to use it.
#include "platform/inet/exception.h"
#include "platform/inet/session.h"
#include "platform/inet/version.h"
