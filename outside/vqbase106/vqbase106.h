#pragma once
// The base helpers: dates and eras, entered text, numbers as text, special
// folders, registry keys.

#include "outside/vqbase106/regkey.h"
#include "outside/vqbase106/vqdate.h"
#include "outside/vqbase106/vqmath.h"
#include "outside/vqbase106/vqpath.h"
#include "outside/vqbase106/vqstring.h"
