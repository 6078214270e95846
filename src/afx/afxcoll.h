// The framework's named collections for hosts.
#pragma once
#ifndef __AFXCOLL_H__
#define __AFXCOLL_H__
#endif

#include "afx.h"
#include "platform/mfc/Collections.h"
