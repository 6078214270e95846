//{{NO_DEPENDENCIES}}
// Used by Sketch.rc
//
#define IDR_MAINFRAME                   128
#define IDR_SKETCHTYPE                  129
#define IDC_TOOLPANEL                   1000
#define ID_SKETCH_ADDLINE               32771
#define ID_SKETCH_CLEAR                 32772
#define ID_SKETCH_SELFTEST              32773
#define ID_SKETCH_LOG                   32774
#define ID_SKETCH_PANELCOLOR            32775
#define ID_VIEW_STROKELIST              32776
