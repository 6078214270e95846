// The framework's common dialogs for hosts: the colour dialog, and the
// open-file dialog's function.
#pragma once
#ifndef __AFXDLGS_H__
#define __AFXDLGS_H__
#endif

#include "afxwin.h"
#include "platform/mfc/ColorDialog.h"
#include "platform/user/Dialogs.h"
