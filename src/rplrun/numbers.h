// Everything of the number modules in one include.
#pragma once

#include "rplrun/complex.h"
#include "rplrun/number_format.h"
#include "rplrun/random.h"
#include "rplrun/real.h"
#include "rplrun/real_functions.h"
