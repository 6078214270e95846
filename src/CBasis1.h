// CBasis1: every exported class of the library and the platform types it uses.
#pragma once

#include "platform/Guid.h"
#include "platform/Heaps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/Sync.h"
#include "platform/Types.h"

#include "containers/CAddArrow.h"
#include "containers/CByte.h"
#include "containers/CGenerateGuid.h"
#include "containers/CLinkedList.h"
#include "containers/CStr.h"
#include "containers/Records.h"

#include "files/CUtils.h"
#include "files/FileRecords.h"

#include "project/CProject.h"
