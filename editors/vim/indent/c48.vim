" Vim indent file
" Language:   rplgen source (C-like language compiled to HP48 User RPL)
"
" C's indentation, except for "#" comments: C indenting takes a "#" at the
" start of a line for a preprocessor line and keeps it at column 0. Here a
" "#" comment is indented as the code that follows it.

if exists('b:did_indent')
  finish
endif
let b:did_indent = 1

setlocal cindent
setlocal indentexpr=GetC48Indent()
" The default keys but "0#": typing "#" leaves the line where it is.
setlocal indentkeys=0{,0},0),0],:,!^F,o,O,e

let b:undo_indent = 'setlocal cindent< indentexpr< indentkeys<'

if exists('*GetC48Indent')
  finish
endif

function GetC48Indent() abort
  if getline(v:lnum) !~# '^\s*#'
    return cindent(v:lnum)
  endif
  " The next line of code: C indenting gets it right, skipping "#" lines.
  let next = nextnonblank(v:lnum + 1)
  while next > 0 && getline(next) =~# '^\s*#'
    let next = nextnonblank(next + 1)
  endwhile
  if next == 0
    return 0  " comments after the last code, at the top level
  endif
  " Before a closing brace, the comment belongs to the block it closes.
  return cindent(next) + (getline(next) =~# '^\s*}' ? shiftwidth() : 0)
endfunction
