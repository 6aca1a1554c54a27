// A link file that reaches up into the requests: the layer check must refuse it.
#include "base/Clock.h"
#include "requests/RequestTable.h"
