" Vim compiler file
" Compiler:   rplgen, the compiler from a C-like language to HP48 User RPL
"
" :make compiles the current file into the .txt file beside it, and removes
" that file again when the compilation fails, for it would hold only part of
" the program. rplgen's messages name the line but not the file
" ("rplgen: 3: parse error"): they are put on the compiled buffer's line.
" 'makeprg' needs a shell that knows ( ) and ||, as sh and csh do.

if exists('current_compiler')
  finish
endif
let current_compiler = 'rplgen'

if exists(':CompilerSet') != 2
  command -nargs=* CompilerSet setlocal <args>
endif

let s:cpo_save = &cpo
set cpo&vim

CompilerSet makeprg=(rplgen\ %:S\ >%:r:S.txt\ \\\|\\\|\ rm\ -f\ %:r:S.txt)
CompilerSet errorformat=%*[^:]:\ %l:\ %m

" An entry with a line but no file would stay in the quickfix window when
" chosen there: give it the buffer that was compiled.
function! s:AttachToBuffer(location_list) abort
  if get(b:, 'current_compiler', get(g:, 'current_compiler', '')) !=# 'rplgen'
    return
  endif
  let entries = a:location_list ? getloclist(0) : getqflist()
  for entry in entries
    if entry.valid && entry.bufnr == 0
      let entry.bufnr = bufnr('%')
    endif
  endfor
  if a:location_list
    call setloclist(0, entries, 'r')
  else
    call setqflist(entries, 'r')
  endif
endfunction

augroup rplgen_compiler
  autocmd!
  autocmd QuickFixCmdPost make call s:AttachToBuffer(0)
  autocmd QuickFixCmdPost lmake call s:AttachToBuffer(1)
augroup END

let &cpo = s:cpo_save
unlet s:cpo_save
