// The framework's common dialogs for hosts: the colour dialog, the file
// dialog, and the functions under them.
#pragma once
#ifndef __AFXDLGS_H__
#define __AFXDLGS_H__
#endif

#include "afxwin.h"
#include "platform/mfc/ColorDialog.h"
#include "platform/mfc/FileDialog.h"
#include "platform/user/Dialogs.h"
