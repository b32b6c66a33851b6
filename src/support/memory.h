// Exhausted memory anywhere in the compiler ends the run with the system's
// text for the error and status 1.
#pragma once

void install_memory_handler();
