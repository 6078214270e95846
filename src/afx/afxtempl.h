// The framework's collection templates for hosts: CArray, CList, CMap,
// CTypedPtrArray, CTypedPtrList and CTypedPtrMap.
#pragma once
#ifndef __AFXTEMPL_H__
#define __AFXTEMPL_H__
#endif

#include "afx.h"
#include "platform/mfc/Templates.h"
