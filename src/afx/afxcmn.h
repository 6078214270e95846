// The framework's common controls for hosts: on this platform the rich edit
// control (the others are not available yet).
#pragma once
#ifndef __AFXCMN_H__
#define __AFXCMN_H__
#endif

#include "afxwin.h"
#include "platform/mfc/RichEdit.h"
