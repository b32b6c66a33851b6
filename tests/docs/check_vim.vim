" Loads the Vim support the way a user's Vim does, for the sample file, and
" checks the filetype and the highlight group at chosen places. Failures are
" written to standard error and make Vim exit with status 1.
let s:failures = []

" [where (a very-nomagic search pattern), expected syntax group ('' for none)]
let s:expected = [
      \ ['\V// Sample', 'c48Comment'],
      \ ['\VTODO', 'c48Todo'],
      \ ['\V\<declare\>', 'c48Statement'],
      \ ['\V`2`', 'c48Verbatim'],
      \ ['\V"a', 'c48String'],
      \ ['\V\\"b', 'c48StringEscape'],
      \ ['\V\<if\>', 'c48Conditional'],
      \ ['\V>=', 'c48Operator'],
      \ ['\V0.5e3', 'c48Number'],
      \ ['\V**', 'c48Operator'],
      \ ['\V\<else\>', 'c48Conditional'],
      \ ['\V.5e-3', 'c48Number'],
      \ ['\V\<while\>', 'c48Repeat'],
      \ ['\V\<do\>', 'c48Repeat'],
      \ ['\V\<for\>', 'c48Repeat'],
      \ ['\V\<switch\>', 'c48Conditional'],
      \ ['\V\<case\>', 'c48Label'],
      \ ['\V$;', 'c48SwitchValue'],
      \ ['\V\<default\>', 'c48Label'],
      \ ['\V\<assign\>', 'c48Statement'],
      \ ['\V''X+1''', 'c48Algebraic'],
      \ ['\V@{', 'c48AtOpen'],
      \ ['\V@[', 'c48AtOpen'],
      \ ['\V@(', 'c48AtOpen'],
      \ ['\V@<<', 'c48Program'],
      \ ['\V>>;', 'c48Program'],
      \ ['\V\\-b', 'c48NameEscape'],
      \ ['\V$x', ''],
      \ ['\Vif.x', ''],
      \ ['\V# names', 'c48Comment'],
      \ ['\V/* block', 'c48Comment'],
      \ ['\V\<break\>', 'c48NotKeyword'],
      \ ]

if !has('syntax')
  call add(s:failures, 'this Vim has no syntax highlighting; install the Debian package vim')
else
  execute 'set runtimepath^=' . fnameescape($RPLGEN_VIM_RUNTIME)
  let v:errmsg = ''
  try
    filetype plugin on
    syntax on
    execute 'edit' fnameescape($RPLGEN_SAMPLE)
  catch
    call add(s:failures, 'loading failed: ' . v:exception)
  endtry
  if v:errmsg !=# ''
    call add(s:failures, 'error while loading: ' . v:errmsg)
  endif
  if &filetype !=# 'c48'
    call add(s:failures, 'filetype is "' . &filetype . '", expected "c48"')
  endif
  if get(b:, 'current_syntax', '') !=# 'c48'
    call add(s:failures, 'the c48 syntax is not loaded')
  endif
  if &commentstring !=# '// %s'
    call add(s:failures, 'the c48 filetype plugin is not loaded')
  endif
  call cursor(1, 1)
  for [s:where, s:group] in s:expected
    if search(s:where, 'cW') == 0
      call add(s:failures, 'not found after the previous place: ' . s:where)
      continue
    endif
    let s:got = synIDattr(synID(line('.'), col('.'), 1), 'name')
    if s:got !=# s:group
      call add(s:failures, printf('line %d, column %d (%s): group "%s", expected "%s"',
            \ line('.'), col('.'), s:where, s:got, s:group))
    endif
  endfor
endif

if empty(s:failures)
  qall!
endif
call writefile(s:failures, '/dev/stderr')
cquit!
