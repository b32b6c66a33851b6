" HP48 User RPL transfer files: comments and the characters of names.
if exists('b:did_ftplugin')
  finish
endif
let b:did_ftplugin = 1

setlocal commentstring=@\ %s\ @
" A name holds any character but blanks and the delimiters.
setlocal iskeyword=@,48-57,33,36-38,42,43,45-47,61,63,94,95,124,126,128-255

let b:undo_ftplugin = 'setlocal commentstring< iskeyword<'
