" Source files of rplgen, the compiler from a C-like language to HP48 User RPL.
autocmd BufNewFile,BufRead *.c48 setfiletype c48
