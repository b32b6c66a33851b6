" Loads the Vim support the way a user's Vim does and checks it: the file
" types, the highlight groups at chosen places of a source file and of a
" transfer file, the compiler plugins with the real programs, and indentation.
" Failures are written to standard error and make Vim exit with status 1.
"
" Environment: RPLGEN_VIM_RUNTIME (editors/vim), RPLGEN_SAMPLES (this
" directory), RPLGEN_DIR and RPLRUN_DIR (where the binaries are), RPLGEN_WORK_DIR.
let s:failures = []

function s:Fail(message) abort
  call add(s:failures, a:message)
endfunction

" Opens a file and checks its file type and syntax.
function s:Open(file, filetype) abort
  let v:errmsg = ''
  try
    execute 'edit' fnameescape(a:file)
  catch
    call s:Fail(a:file . ': loading failed: ' . v:exception)
  endtry
  if v:errmsg !=# ''
    call s:Fail(a:file . ': error while loading: ' . v:errmsg)
  endif
  if &filetype !=# a:filetype || get(b:, 'current_syntax', '') !=# a:filetype
    call s:Fail(printf('%s: filetype "%s", syntax "%s", expected "%s"', a:file, &filetype,
          \ get(b:, 'current_syntax', ''), a:filetype))
  endif
endfunction

" [where (a very-nomagic search pattern), expected syntax group ('' for none)],
" each place searched from the previous one.
function s:CheckGroups(expected) abort
  call cursor(1, 1)
  for [where, group] in a:expected
    if search(where, 'cW') == 0
      call s:Fail(expand('%:t') . ': not found after the previous place: ' . where)
      continue
    endif
    let got = synIDattr(synID(line('.'), col('.'), 1), 'name')
    if got !=# group
      call s:Fail(printf('%s, line %d, column %d (%s): group "%s", expected "%s"',
            \ expand('%:t'), line('.'), col('.'), where, got, group))
    endif
  endfor
endfunction

if !has('syntax')
  call s:Fail('this Vim has no syntax highlighting; install the Debian package vim')
else
  execute 'set runtimepath^=' . fnameescape($RPLGEN_VIM_RUNTIME)
  filetype plugin indent on
  syntax on

  " Source files.
  call s:Open($RPLGEN_SAMPLES . '/highlight_sample.c48', 'c48')
  if &commentstring !=# '// %s'
    call s:Fail('the c48 filetype plugin is not loaded')
  endif
  call s:CheckGroups([
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
        \ ['\V\<return\>', 'c48NotKeyword'],
        \ ['\V\<continue\>', 'c48NotKeyword'],
        \ ])
  if synIDattr(synIDtrans(hlID('c48NotKeyword')), 'name') !=# 'WarningMsg'
    call s:Fail('break, return and continue are not highlighted as warnings')
  endif

  " Transfer files, by their header.
  call s:Open($RPLGEN_SAMPLES . '/highlight_sample.txt', 'hp48')
  call s:CheckGroups([
        \ ['\V%%HP:', 'hp48Header'],
        \ ['\V\\<<', 'hp48Program'],
        \ ['\V@ Sample', 'hp48Comment'],
        \ ['\V\\->', 'hp48Local'],
        \ ['\V\<WHILE', 'hp48Repeat'],
        \ ['\V\\=/', 'hp48Command'],
        \ ['\V\<REPEAT', 'hp48Repeat'],
        \ ['\V''t''', 'hp48Algebraic'],
        \ ['\V\<STO', 'hp48Command'],
        \ ['\V\<MOD', 'hp48Command'],
        \ ['\V\<END', 'hp48Conditional'],
        \ ['\V\<IF', 'hp48Conditional'],
        \ ['\V> THEN', 'hp48Command'],
        \ ['\V"yes', 'hp48String'],
        \ ['\V\\Ga', 'hp48Code'],
        \ ['\V\\->LIST', 'hp48Command'],
        \ ['\V{', 'hp48Delimiter'],
        \ ['\VSTO\\>>', 'hp48Command'],
        \ ['\V\\>> DOLIST', 'hp48Program'],
        \ ['\VDOLIST', 'hp48Command'],
        \ ['\V$ \\<<', ''],
        \ ['\VCASE', 'hp48Conditional'],
        \ ['\V==', 'hp48Command'],
        \ ['\VEND\\>>', 'hp48Conditional'],
        \ ['\V1.5E-3', 'hp48Number'],
        \ ['\V-2', 'hp48Number'],
        \ ['\V#1Fh', 'hp48Number'],
        \ ['\V(1', 'hp48Delimiter'],
        \ ['\V\\v/', 'hp48Command'],
        \ ['\VARRY\\->', 'hp48Command'],
        \ ['\V:Tag:', 'hp48Tag'],
        \ ['\VSQRT', ''],
        \ ['\VPI', ''],
        \ ['\V\<i\>', 'hp48Command'],
        \ ['\Vx1', ''],
        \ ['\VFS?C', 'hp48Command'],
        \ ['\V''GCD''', 'hp48Algebraic'],
        \ ])

  " The compiler plugin: a failed compilation puts its message on the line of
  " the compiled buffer and leaves no output; a good one writes the .txt file.
  let $PATH = $RPLGEN_DIR . ':' . $PATH
  let s:source = $RPLGEN_WORK_DIR . '/prog.c48'
  let s:output = $RPLGEN_WORK_DIR . '/prog.txt'
  call writefile(['x = 1;', 'y = 2;', 'z = = 3;'], s:source)
  execute 'edit' fnameescape(s:source)
  compiler rplgen
  silent make
  let s:entries = getqflist()
  let s:valid = filter(copy(s:entries), 'v:val.valid')
  if len(s:valid) != 1 || s:valid[0].bufnr != bufnr(s:source) || s:valid[0].lnum != 3
        \ || s:valid[0].text !=# 'parse error'
    call s:Fail('compiler rplgen: the parse error became ' . string(s:entries))
  endif
  if filereadable(s:output)
    call s:Fail('compiler rplgen: a failed compilation left ' . s:output)
  endif
  copen
  cfirst
  if bufnr('%') != bufnr(s:source) || line('.') != 3
    call s:Fail('compiler rplgen: choosing the error in the quickfix window went to '
          \ . bufname('%') . ' line ' . line('.'))
  endif
  cclose
  call setline(3, 'z = 3;')
  silent write
  silent make
  if !empty(filter(getqflist(), 'v:val.valid'))
    call s:Fail('compiler rplgen: a good source gave ' . string(getqflist()))
  endif
  if !filereadable(s:output) || readfile(s:output) != systemlist('rplgen ' . shellescape(s:source))
    call s:Fail('compiler rplgen: ' . s:output . ' does not hold the compiled program')
  endif

  " The checker: rplrun --check's errors, warnings and notes on their lines and
  " columns, the source lines and carets after them left out.
  let $PATH = $RPLRUN_DIR . ':' . $PATH
  let s:checked = $RPLGEN_WORK_DIR . '/checked.c48'
  call writefile(['y = -x ** 2;', 'while (x > 0) {', '  x = 1 z = 2;', '}'], s:checked)
  execute 'edit' fnameescape(s:checked)
  compiler rplrun
  silent make
  let s:found = map(filter(getqflist(), 'v:val.valid'),
        \ '[v:val.bufnr, v:val.lnum, v:val.col, v:val.type, v:val.text]')
  let s:expected = [
        \ [bufnr(s:checked), 1, 5, 'w',
        \  "unary minus binds tighter than '**' here: this is (-a) ** b, not -(a ** b)"],
        \ [bufnr(s:checked), 3, 9, 'e', "expected ';' before 'z'"],
        \ ]
  if s:found != s:expected
    call s:Fail('compiler rplrun: the messages became ' . string(getqflist()))
  endif
  call writefile(['x = 1 +', '  (2 * 3;'], s:checked)
  edit!
  silent make
  let s:found = map(filter(getqflist(), 'v:val.valid'), '[v:val.lnum, v:val.col, v:val.type]')
  if s:found != [[2, 9, 'e'], [2, 3, 'n']]
    call s:Fail('compiler rplrun: the error and its note became ' . string(getqflist()))
  endif
  bwipeout!

  " Indentation: the sample, its indentation removed, is indented back as it was.
  execute 'edit' fnameescape($RPLGEN_SAMPLES . '/indent_sample.c48')
  setlocal shiftwidth=2 expandtab
  let s:indented = getline(1, '$')
  silent %substitute/^\s\+//e
  normal! gg=G
  for s:line in range(1, line('$'))
    if getline(s:line) !=# s:indented[s:line - 1]
      call s:Fail(printf('indent_sample.c48, line %d re-indented as "%s"', s:line,
            \ getline(s:line)))
    endif
  endfor
  bwipeout!
endif

if empty(s:failures)
  qall!
endif
call writefile(s:failures, '/dev/stderr')
cquit!
