" rplgen source files: comments and names. Indentation is in indent/c48.vim,
" the compiler in compiler/rplgen.vim (":compiler rplgen").
if exists('b:did_ftplugin')
  finish
endif
let b:did_ftplugin = 1

setlocal commentstring=//\ %s
setlocal comments=s1:/*,mb:*,ex:*/,://,:#
" A name may hold "$" and "."; "_" belongs to none.
setlocal iskeyword=@,48-57,$,.,^_

let b:undo_ftplugin = 'setlocal commentstring< comments< iskeyword<'
