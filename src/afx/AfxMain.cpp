// The program's entry for hosts built against the framework target: the
// framework's AfxWinMain runs the application object the host declares.
#include "platform/mfc/App.h"

int main(int argc, char** argv) { return PlatformRunApplication(argc, argv); }
