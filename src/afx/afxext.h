// The framework's extensions for hosts: form views, splitters and rich
// edit controls, on top of afxwin.h.
#pragma once
#ifndef __AFXEXT_H__
#define __AFXEXT_H__
#endif

#include "afxdlgs.h"
#include "afxwin.h"
#include "platform/mfc/ControlBars.h"
#include "platform/mfc/FormView.h"
#include "platform/mfc/RichEdit.h"
