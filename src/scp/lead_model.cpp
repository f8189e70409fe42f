#include "scp/lead_model.h"
