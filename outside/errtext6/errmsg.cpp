#include "outside/errtext6/errmsg.h"
// replaced by the message library
