// Exhausted memory, wherever it is noticed, ends the run the same way: the
// system's text for ENOMEM as a diagnostic, and status 1.
#pragma once

namespace rpl {

[[noreturn]] void out_of_memory();

// Makes a failed operator new end the run through out_of_memory.
void install_memory_handler();

}  // namespace rpl
