// The framework's OLE header for hosts: data objects and sources. OLE
// automation is not supported (CCmdTarget::EnableAutomation says so).
#pragma once
#ifndef __AFXDISP_H__
#define __AFXDISP_H__
#endif

#include "afxwin.h"
#include "platform/mfc/OleDataSource.h"
#include "platform/ole/Guid.h"
