// Everything of the number modules in one include.
#pragma once

#include "numbers/complex.h"
#include "numbers/number_format.h"
#include "numbers/random.h"
#include "numbers/real.h"
#include "numbers/real_functions.h"
