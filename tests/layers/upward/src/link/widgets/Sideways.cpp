// The link page reaching into the main window: the window code of a part
// uses only the window code its table names.
#include "base/widgets/Panel.h"
#include "shell/widgets/MainWindow.h"
