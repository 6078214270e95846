// Ids of the menus display test's resource script (MenusOnDisplay.rc).
#pragma once

#define IDR_SHAPES 200
#define ID_SHAPE_LINE 400
#define ID_SHAPE_BOX 401
#define ID_SHAPE_CIRCLE 402
