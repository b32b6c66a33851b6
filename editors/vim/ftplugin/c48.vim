" rplgen source files: comments and indentation as in C.
if exists('b:did_ftplugin')
  finish
endif
let b:did_ftplugin = 1

setlocal commentstring=//\ %s
setlocal comments=s1:/*,mb:*,ex:*/,://,:#
setlocal cindent
setlocal cinkeys-=0#
" A name may hold "$" and "."; "_" belongs to none.
setlocal iskeyword=@,48-57,$,.,^_

let b:undo_ftplugin = 'setlocal commentstring< comments< cindent< cinkeys< iskeyword<'
