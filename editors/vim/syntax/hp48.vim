" Vim syntax file
" Language:   HP48 User RPL in the calculator's ASCII transfer format, as rplgen
"             writes it and rplrun reads it
" Filenames:  any file that begins with "%%HP:" (see ftdetect/hp48.vim)

if exists('b:current_syntax')
  finish
endif

let s:cpo_save = &cpo
set cpo&vim

syntax case match
" A token ends at a blank, at one of { } [ ] ( ) " ' , ; and at the codes of
" the program delimiters, "\<<" and "\>>". Keywords are made of the characters
" of commands written without a code: letters, digits and ! $ % & * + - . / = ?
" ^ _ | ~, so "STO" in "\<<STO\>>" is a keyword of its own.
syntax iskeyword @,48-57,33,36-38,42,43,45-47,61,63,94,95,124,126,128-255

" The transfer header, on the first line of each program.
syntax match   hp48Header      "^%%HP:.*$"

" Backslash codes of the calculator's special characters, "\->" and "\v/" for
" instance, or "\ddd" for any character by its number.
syntax match   hp48Code        "\\\%(\d\d\d\|<)\|x-\|\.V\|v/\|\.S\|GS\||>\|pi\|\.d\|<=\|>=\|=/
      \\|G[a-zA-Z]\|->\|<-\||v\||^\|PI\|\[]\|oo\|\^o\|\.x\|[O0]/\|:-\|\\\)"

" Numbers: reals, and binary integers such as "# 1Fh".
syntax match   hp48Number      "\<-\=\%(\d\+\.\=\d*\|\.\d\+\)\%([eE]-\=\d\+\)\=\>"
syntax match   hp48Number      "#\s*\x\+[hdob]\>"

" Program delimiters, local variables, and the control structures.
syntax match   hp48Program     "\\<<\|\\>>\|[«»]"
syntax match   hp48Local       "\\->\|→"
syntax keyword hp48Conditional IF THEN ELSE END CASE IFERR
syntax keyword hp48Repeat      WHILE REPEAT DO UNTIL FOR NEXT STEP START

" The commands of the HP48G, as the transfer format writes them.
syntax keyword hp48Command ! % %CH %T * *H *W + - / = == ABS ACK ACKALL ACOS ACOSH ADD ALOG AMORT
syntax keyword hp48Command AND ANIMATE APPLY ARC ARCHIVE ARG ASIN ASINH ASN ASR ATAN ATANH ATICK
syntax keyword hp48Command ATTACH AUTO AXES BAR BARPLOT BAUD BEEP BESTFIT BIN BINS BLANK BOX BUFLEN
syntax keyword hp48Command BYTES CEIL CENTR CF CHOOSE CHR CKSM CLEAR CLKADJ CLLCD CLOSEIO CLTEACH
syntax keyword hp48Command CLVAR CNRM COL+ COL- COLCT COMB CON COND CONIC CONJ CONLIB CONST CONT
syntax keyword hp48Command CONVERT CORR COS COSH COV CR CRDIR CROSS CSWP CYLIN DARCY DATE DATE+
syntax keyword hp48Command DDAYS DEC DECR DEFINE DEG DELALARM DELAY DELKEYS DEPND DEPTH DET DETACH
syntax keyword hp48Command DIFFEQ DIR DISP DOERR DOLIST DOSUBS DOT DRAW DRAX DROP DROP2 DROPN DTAG
syntax keyword hp48Command DUP DUP2 DUPN EGV EGVL ENDSUB ENG EQNLIB ERASE ERR0 ERRM ERRN EVAL EXP
syntax keyword hp48Command EXPAN EXPFIT EXPM EYEPT FACT FANNING FC? FC?C FFT FINDALARM FINISH FIX
syntax keyword hp48Command FLOOR FP FREE FREE1 FREEZE FS? FS?C FUNCTION GET GETI GOR GRAD GRIDMAP
syntax keyword hp48Command GXOR HALT HEAD HEX HISTOGRAM HISTPLOT HMS+ HMS- HOME IDN IFFT IFT IFTE
syntax keyword hp48Command IM INCR INDEP INFORM INPUT INV IP ISOL KERRM KEY KGET KILL LABEL LASTARG
syntax keyword hp48Command LIBEVAL LIBS LINE LINFIT LININ LN LNP1 LOG LOGFIT LQ LR LSQ LU MANT MAX
syntax keyword hp48Command MAXR MCALC MEAN MEM MENU MERGE MERGE1 MIN MINEHUNT MINIT MINR MITM MOD
syntax keyword hp48Command MROOT MSGBOX MSOLVR MUSER NDIST NEG NEWOB NOT NOVAL NSUB NUM NUMX NUMY
syntax keyword hp48Command OCT OFF OLDPRT OPENIO OR ORDER OVER PARAMETRIC PARITY PARSURFACE PATH
syntax keyword hp48Command PCOEF PCONTOUR PCOV PDIM PERM PEVAL PGDIR PICK PICT PICTURE PINIT PIX?
syntax keyword hp48Command PIXOFF PIXON PKT PMAX PMIN POLAR POS PR1 PREDV PREDX PREDY PRLCD PROMPT
syntax keyword hp48Command PROOT PRST PRSTC PRVAR PSDEV PURGE PUT PUTI PVAR PVARS PVIEW PWRFIT QR
syntax keyword hp48Command QUAD QUOTE RAD RAND RANK RANM RATIO RCEQ RCI RCIJ RCL RCLALARM RCLF
syntax keyword hp48Command RCLKEYS RCLMENU RCWS RDM RDZ RE RECN RECT RECV REPL RES RESTORE REVLIST
syntax keyword hp48Command RKF RKFERR RKFSTEP RL RLB RND RNRM ROLL ROLLD ROOT ROT ROW+ ROW- RR RRB
syntax keyword hp48Command RREF RRK RRKSTEP RSBERR RSD RSWP RULES SAME SBRK SCALE SCATRPLOT SCATTER
syntax keyword hp48Command SCHUR SCI SCONJ SDEV SEND SEQ SERVER SF SHOW SIDENS SIGN SIN SINH SINV
syntax keyword hp48Command SIZE SL SLB SLOPEFIELD SNEG SNRM SOLVEQN SORT SPHERE SQ SR SRAD SRB
syntax keyword hp48Command SRECV STD STEQ STIME STO STO* STO+ STO- STO/ STOALARM STOF STOKEYS
syntax keyword hp48Command STREAM STWS SUB SVD SVL SWAP SYSEVAL TAIL TAN TANH TAYLR TDELTA TEACH
syntax keyword hp48Command TEXT TICKS TIME TINC TLINE TMENU TOT TRACE TRANSIO TRN TRNC TRUTH TSTR
syntax keyword hp48Command TVARS TVM TVMBEG TVMEND TVMROOT TYPE UBASE UFACT UPDIR UTPC UTPF UTPN
syntax keyword hp48Command UTPT UVAL VAR VARS VERSION VTYPE WAIT WIREFRAME WSLOG XCOL XMIT XOR XPON
syntax keyword hp48Command XRECV XRNG XROOT XSEND XVOL XXRNG YCOL YRNG YSLICE YVOL YYRNG ZFACTOR
syntax keyword hp48Command ZVOL ^ _ dB e gmol i lbmol rpm
" Those written with a code, and "<", ">" and "|", which are no keywords.
syntax match   hp48Command     !\%(^\|[ \t{}[\]()"',;]\|\\<<\|\\>>\)\@3<=\%(
      \\\156LIST\|\\|^MATCH\|\\|vMATCH\|ARRY\\->\|DIAG\\->\|LIST\\->\|\\->ARRY\|\\->DATE
      \\|\\->DIAG\|\\->GROB\|\\->LIST\|\\->Q\\pi\|\\->TIME\|\\->UNIT\|\\GDLIST\|\\GSLINE
      \\|\\GSLIST\|COL\\->\|COL\\GS\|C\\->PX\|F0\\150\|HMS\\->\|LCD\\->\|MAX\\GS\|MIN\\GS
      \\|OBJ\\->\|PX\\->C\|RCL\\GS\|ROW\\->\|SCL\\GS\|STO\\GS\|STR\\->\|\\->COL\|\\->HMS
      \\|\\->LCD\|\\->NUM\|\\->ROW\|\\->STR\|\\->TAG\|\\GSX\*Y\|\\GSX^2\|\\GSY^2\|B\\->R
      \\|CL\\GS\|C\\->R\|D\\->R\|EQ\\->\|R\\->B\|R\\->C\|R\\->D\|\\->V2\|\\->V3\|N\\GS\|V\\->
      \\|\\->Q\|\\GS+\|\\GS-\|\\GSX\|\\GSY\|\\\.S\|\\\.d\|\\<=\|\\=/\|\\>=\|\\GS\|\\pi\|\\v/\|<
      \\|>\||
      \\)\%($\|[ \t{}[\]()"',;]\|\\<<\|\\>>\)\@=!

" Objects: strings (no escapes; codes are decoded inside them too), quoted
" names and algebraics, tagged objects, and the delimiters of lists, arrays
" and complex numbers.
syntax region  hp48String      start=+"+ end=+"+ contains=hp48Code
syntax region  hp48Algebraic   start=+'+ end=+'+ contains=hp48Code
syntax match   hp48Tag         ":[^: \t]*:"
syntax match   hp48Delimiter   "[{}[\]()]"

" Comments run from "@" to the next "@" or the end of the line.
syntax region  hp48Comment     start="@" end="@\|$" oneline contains=@Spell

highlight default link hp48Header      PreProc
highlight default link hp48Code        SpecialChar
highlight default link hp48Number      Number
highlight default link hp48Program     Special
highlight default link hp48Local       Statement
highlight default link hp48Conditional Conditional
highlight default link hp48Repeat      Repeat
highlight default link hp48Command     Function
highlight default link hp48String      String
highlight default link hp48Algebraic   Constant
highlight default link hp48Tag         Label
highlight default link hp48Delimiter   Delimiter
highlight default link hp48Comment     Comment

let b:current_syntax = 'hp48'

let &cpo = s:cpo_save
unlet s:cpo_save
