// Truncated reals: the 15-digit intermediates of the calculator's solvers for differential
// equations, each operation truncated toward zero (see numbers/fifteen_digits.h).
#pragma once

#include "numbers/fifteen_digits.h"
