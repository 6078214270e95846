// The framework's window classes for hosts: the application, frames,
// documents and views, message maps and command routing, device contexts
// and controls, with the standard ids (afxres.h).
#pragma once
#ifndef __AFXWIN_H__
#define __AFXWIN_H__
#endif

#include "afx.h"
#include "afxres.h"
#include "platform/mfc/App.h"
#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/ControlBars.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/Docs.h"
#include "platform/mfc/Edit.h"
#include "platform/mfc/Frames.h"
#include "platform/mfc/GdiObjects.h"
#include "platform/mfc/MessageBox.h"
#include "platform/mfc/MessageMaps.h"
#include "platform/mfc/Modules.h"
#include "platform/mfc/ResourceHandles.h"
#include "platform/mfc/SyncObjects.h"
#include "platform/mfc/Wnd.h"
#include "platform/user/Input.h"
#include "platform/user/Windows.h"
