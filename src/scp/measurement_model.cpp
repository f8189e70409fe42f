#include "scp/measurement_model.h"
