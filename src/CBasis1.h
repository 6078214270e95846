// CBasis1: every exported class of the library and the platform types it uses.
#pragma once

#include "platform/Files.h"
#include "platform/Guid.h"
#include "platform/Handles.h"
#include "platform/Heaps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/Stdio.h"
#include "platform/Strings.h"
#include "platform/Sync.h"
#include "platform/Types.h"

#include "containers/CAddArrow.h"
#include "containers/CByte.h"
#include "containers/CGenerateGuid.h"
#include "containers/CLinkedList.h"
#include "containers/CStr.h"
#include "containers/Records.h"

#include "files/CGetDirListing.h"
#include "files/CGetDirectoryListing.h"
#include "files/CGetMultipleFiles.h"
#include "files/CSplitFilename.h"
#include "files/CUtils.h"
#include "files/FileRecords.h"
#include "files/GetFileContents.h"
#include "files/MakeDirectory.h"

#include "types/CObjectCode.h"
#include "types/CObjectParameters.h"
#include "types/CParameters.h"
#include "types/CType.h"

#include "text/CParse.h"

#include "project/CProject.h"
