" HP48 User RPL in the calculator's ASCII transfer format: any file that begins
" with the transfer header "%%HP:", whatever its name. rplgen's output usually
" ends in .txt, which Vim has already taken for plain text: this overrules it.
autocmd BufRead * if getline(1) =~# '^%%HP:' | set filetype=hp48 | endif
