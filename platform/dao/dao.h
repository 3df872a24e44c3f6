#pragma once
// The database layer: include this to use it.
#include "platform/dao/database.h"
#include "platform/dao/exception.h"
#include "platform/dao/querydef.h"
#include "platform/dao/recordset.h"
#include "platform/dao/tabledef.h"
#include "platform/dao/variant.h"
#include "platform/dao/workspace.h"
