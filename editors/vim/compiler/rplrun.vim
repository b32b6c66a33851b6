" Vim compiler file
" Compiler:   rplrun --check, which checks rplgen sources (.c48)
"
" :make compiles the current file as rplgen does and runs nothing; its errors,
" warnings and notes ("prog.c48:2:1: error: expected ';' before 'y'") go to
" the quickfix list with their lines and columns. The source line and the
" caret that follow each message are left out.

if exists('current_compiler')
  finish
endif
let current_compiler = 'rplrun'

if exists(':CompilerSet') != 2
  command -nargs=* CompilerSet setlocal <args>
endif

let s:cpo_save = &cpo
set cpo&vim

CompilerSet makeprg=rplrun\ --check\ %:S
CompilerSet errorformat=%f:%l:%c:\ %trror:\ %m,%f:%l:%c:\ %tarning:\ %m,%f:%l:%c:\ %tote:\ %m,%-G%.%#

let &cpo = s:cpo_save
unlet s:cpo_save
