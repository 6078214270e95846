//{{NO_DEPENDENCIES}}
// Microsoft Developer Studio generated include file.
// Used by Sketch.rc
//
#define IDD_ABOUTBOX                    100
#define IDR_MAINFRAME                   128
#define IDR_SKETCHTYPE                  129
#define IDD_PEN                         130
#define IDC_TOOLPANEL                   1000
#define IDC_PEN_WIDTH                   1001
#define IDC_PEN_DASHED                  1002
#define ID_SKETCH_ADDLINE               32771
#define ID_SKETCH_CLEAR                 32772
#define ID_SKETCH_SELFTEST              32773
#define ID_SKETCH_LOG                   32774
#define ID_SKETCH_PANELCOLOR            32775
#define ID_VIEW_STROKELIST              32776
#define ID_SKETCH_PEN                   32777

// Next default values for new objects
//
#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_3D_CONTROLS                     1
#define _APS_NEXT_RESOURCE_VALUE        131
#define _APS_NEXT_COMMAND_VALUE         32778
#define _APS_NEXT_CONTROL_VALUE         1003
#define _APS_NEXT_SYMED_VALUE           101
#endif
#endif
