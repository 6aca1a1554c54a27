// A part that draws: the parts never include window code.
#include "records/Recorder.h"
#include "records/widgets/RecordPanel.h"
