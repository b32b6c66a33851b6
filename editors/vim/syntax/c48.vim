" Vim syntax file
" Language:   rplgen source (C-like language compiled to HP48 User RPL)
" Filenames:  *.c48

if exists('b:current_syntax')
  finish
endif

let s:cpo_save = &cpo
set cpo&vim

" Names are made of letters, digits, "$" and "."; "if.x" and "do$" are names.
syntax iskeyword @,48-57,$,.

syntax keyword c48Conditional  if else switch
syntax keyword c48Repeat       for while do
syntax keyword c48Label        case default
syntax keyword c48Statement    assign declare

" Words that C programmers expect but that are plain names here: warn of them.
syntax keyword c48NotKeyword   break return continue goto

" A backslash takes the next character into a name: "a\-b" is one name.
syntax match   c48NameEscape   "\\."

" Numbers: 12, 1.5, 5., 2.5e3, 1E-3, and .5e-3 (a leading "." needs a signed exponent).
syntax match   c48Number       "\<\d\+\%(\.\d*\)\=\%([eE][+-]\=\d\+\)\="
syntax match   c48Number       "\<\.\d\+[eE][+-]\d\+"

" Operators, longest first.
syntax match   c48Operator     "[-+*/%&^|!~<>=?:]"
syntax match   c48Operator     "\*\*\|++\|--\|&&\|||\|<=\|>=\|==\|!="
syntax match   c48Operator     "[-+*/%&^|]="
syntax match   c48Error        ">>=\|<<=\|>>\|<<"

" The "@" forms: vector, list and complex openers; "@]", "@}" and "@)" do not exist.
syntax match   c48AtOpen       "@[[{(]"
syntax match   c48Error        "@[\]})]"

" Literals: an RPL algebraic, verbatim RPL, a string, an RPL program.
syntax region  c48Algebraic    start=+'+ end=+'+
syntax region  c48Verbatim     start=+`+ end=+`+
syntax region  c48String       start=+"+ skip=+\\\\\|\\"+ end=+"+ contains=c48StringEscape
syntax match   c48StringEscape "\\." contained
syntax match   c48Program      "@<<.*>>"

" Comments: "/* */", and "//" or "#" to the end of the line.
syntax keyword c48Todo         TODO FIXME XXX contained
syntax region  c48Comment      start="/\*" end="\*/" contains=c48Todo,@Spell
syntax match   c48Comment      "//.*$" contains=c48Todo,@Spell
syntax match   c48Comment      "#.*$" contains=c48Todo,@Spell

" The switch value.
syntax match   c48SwitchValue  "\<\$\>"

" Carriage returns are not accepted in source files.
syntax match   c48Error        "\r"

highlight default link c48Conditional  Conditional
highlight default link c48Repeat       Repeat
highlight default link c48Label        Label
highlight default link c48Statement    Statement
highlight default link c48NotKeyword   WarningMsg
highlight default link c48NameEscape   SpecialChar
highlight default link c48Number       Number
highlight default link c48Operator     Operator
highlight default link c48AtOpen       Structure
highlight default link c48Algebraic    Constant
highlight default link c48Verbatim     PreProc
highlight default link c48String       String
highlight default link c48StringEscape SpecialChar
highlight default link c48Program      Special
highlight default link c48Todo         Todo
highlight default link c48Comment      Comment
highlight default link c48SwitchValue  Special
highlight default link c48Error        Error

let b:current_syntax = 'c48'

let &cpo = s:cpo_save
unlet s:cpo_save
