// The command names of the HP48G/GX ROM, as the calculator's ASCII transfer writes them
// (517 names). A name in this list that rplrun does not build is read as a command and
// reported as not supported when it runs; a name outside it is an ordinary name.
#include "commands/table.h"

#include <iterator>

namespace rplrun {

namespace {
constexpr const char* names[] = {
    "!",          "%",          "%CH",        "%T",        "'",         "*",        "*H",
    "*W",         "+",          "-",          "/",         "<",         "=",        "==",
    ">",          "ABS",        "ACK",        "ACKALL",    "ACOS",      "ACOSH",    "ADD",
    "ALOG",       "AMORT",      "AND",        "ANIMATE",   "APPLY",     "ARC",      "ARCHIVE",
    "ARG",        "ARRY\\->",   "ASIN",       "ASINH",     "ASN",       "ASR",      "ATAN",
    "ATANH",      "ATICK",      "ATTACH",     "AUTO",      "AXES",      "BAR",      "BARPLOT",
    "BAUD",       "BEEP",       "BESTFIT",    "BIN",       "BINS",      "BLANK",    "BOX",
    "BUFLEN",     "BYTES",      "B\\->R",     "CASE",      "CEIL",      "CENTR",    "CF",
    "CHOOSE",     "CHR",        "CKSM",       "CLEAR",     "CLKADJ",    "CLLCD",    "CLOSEIO",
    "CLTEACH",    "CLVAR",      "CL\\GS",     "CNRM",      "COL+",      "COL-",     "COLCT",
    "COL\\->",    "COL\\GS",    "COMB",       "CON",       "COND",      "CONIC",    "CONJ",
    "CONLIB",     "CONST",      "CONT",       "CONVERT",   "CORR",      "COS",      "COSH",
    "COV",        "CR",         "CRDIR",      "CROSS",     "CSWP",      "CYLIN",    "C\\->PX",
    "C\\->R",     "DARCY",      "DATE",       "DATE+",     "DDAYS",     "DEC",      "DECR",
    "DEFINE",     "DEG",        "DELALARM",   "DELAY",     "DELKEYS",   "DEPND",    "DEPTH",
    "DET",        "DETACH",     "DIAG\\->",   "DIFFEQ",    "DIR",       "DISP",     "DO",
    "DOERR",      "DOLIST",     "DOSUBS",     "DOT",       "DRAW",      "DRAX",     "DROP",
    "DROP2",      "DROPN",      "DTAG",       "DUP",       "DUP2",      "DUPN",     "D\\->R",
    "EGV",        "EGVL",       "ELSE",       "END",       "ENDSUB",    "ENG",      "EQNLIB",
    "EQ\\->",     "ERASE",      "ERR0",       "ERRM",      "ERRN",      "EVAL",     "EXP",
    "EXPAN",      "EXPFIT",     "EXPM",       "EYEPT",     "F0\\150",   "FACT",     "FANNING",
    "FC?",        "FC?C",       "FFT",        "FINDALARM", "FINISH",    "FIX",      "FLOOR",
    "FOR",        "FP",         "FREE",       "FREE1",     "FREEZE",    "FS?",      "FS?C",
    "FUNCTION",   "GET",        "GETI",       "GOR",       "GRAD",      "GRIDMAP",  "GXOR",
    "HALT",       "HEAD",       "HEX",        "HISTOGRAM", "HISTPLOT",  "HMS+",     "HMS-",
    "HMS\\->",    "HOME",       "IDN",        "IF",        "IFERR",     "IFFT",     "IFT",
    "IFTE",       "IM",         "INCR",       "INDEP",     "INFORM",    "INPUT",    "INV",
    "IP",         "ISOL",       "KERRM",      "KEY",       "KGET",      "KILL",     "LABEL",
    "LASTARG",    "LCD\\->",    "LIBEVAL",    "LIBS",      "LINE",      "LINFIT",   "LININ",
    "LIST\\->",   "LN",         "LNP1",       "LOG",       "LOGFIT",    "LQ",       "LR",
    "LSQ",        "LU",         "MANT",       "MAX",       "MAXR",      "MAX\\GS",  "MCALC",
    "MEAN",       "MEM",        "MENU",       "MERGE",     "MERGE1",    "MIN",      "MINEHUNT",
    "MINIT",      "MINR",       "MIN\\GS",    "MITM",      "MOD",       "MROOT",    "MSGBOX",
    "MSOLVR",     "MUSER",      "NDIST",      "NEG",       "NEWOB",     "NEXT",     "NOT",
    "NOVAL",      "NSUB",       "NUM",        "NUMX",      "NUMY",      "N\\GS",    "OBJ\\->",
    "OCT",        "OFF",        "OLDPRT",     "OPENIO",    "OR",        "ORDER",    "OVER",
    "PARAMETRIC", "PARITY",     "PARSURFACE", "PATH",      "PCOEF",     "PCONTOUR", "PCOV",
    "PDIM",       "PERM",       "PEVAL",      "PGDIR",     "PICK",      "PICT",     "PICTURE",
    "PINIT",      "PIX?",       "PIXOFF",     "PIXON",     "PKT",       "PMAX",     "PMIN",
    "POLAR",      "POS",        "PR1",        "PREDV",     "PREDX",     "PREDY",    "PRLCD",
    "PROMPT",     "PROOT",      "PRST",       "PRSTC",     "PRVAR",     "PSDEV",    "PURGE",
    "PUT",        "PUTI",       "PVAR",       "PVARS",     "PVIEW",     "PWRFIT",   "PX\\->C",
    "QR",         "QUAD",       "QUOTE",      "RAD",       "RAND",      "RANK",     "RANM",
    "RATIO",      "RCEQ",       "RCI",        "RCIJ",      "RCL",       "RCLALARM", "RCLF",
    "RCLKEYS",    "RCLMENU",    "RCL\\GS",    "RCWS",      "RDM",       "RDZ",      "RE",
    "RECN",       "RECT",       "RECV",       "REPEAT",    "REPL",      "RES",      "RESTORE",
    "REVLIST",    "RKF",        "RKFERR",     "RKFSTEP",   "RL",        "RLB",      "RND",
    "RNRM",       "ROLL",       "ROLLD",      "ROOT",      "ROT",       "ROW+",     "ROW-",
    "ROW\\->",    "RR",         "RRB",        "RREF",      "RRK",       "RRKSTEP",  "RSBERR",
    "RSD",        "RSWP",       "RULES",      "R\\->B",    "R\\->C",    "R\\->D",   "SAME",
    "SBRK",       "SCALE",      "SCATRPLOT",  "SCATTER",   "SCHUR",     "SCI",      "SCL\\GS",
    "SCONJ",      "SDEV",       "SEND",       "SEQ",       "SERVER",    "SF",       "SHOW",
    "SIDENS",     "SIGN",       "SIN",        "SINH",      "SINV",      "SIZE",     "SL",
    "SLB",        "SLOPEFIELD", "SNEG",       "SNRM",      "SOLVEQN",   "SORT",     "SPHERE",
    "SQ",         "SR",         "SRAD",       "SRB",       "SRECV",     "START",    "STD",
    "STEP",       "STEQ",       "STIME",      "STO",       "STO*",      "STO+",     "STO-",
    "STO/",       "STOALARM",   "STOF",       "STOKEYS",   "STO\\GS",   "STREAM",   "STR\\->",
    "STWS",       "SUB",        "SVD",        "SVL",       "SWAP",      "SYSEVAL",  "TAIL",
    "TAN",        "TANH",       "TAYLR",      "TDELTA",    "TEACH",     "TEXT",     "THEN",
    "TICKS",      "TIME",       "TINC",       "TLINE",     "TMENU",     "TOT",      "TRACE",
    "TRANSIO",    "TRN",        "TRNC",       "TRUTH",     "TSTR",      "TVARS",    "TVM",
    "TVMBEG",     "TVMEND",     "TVMROOT",    "TYPE",      "UBASE",     "UFACT",    "UNTIL",
    "UPDIR",      "UTPC",       "UTPF",       "UTPN",      "UTPT",      "UVAL",     "VAR",
    "VARS",       "VERSION",    "VTYPE",      "V\\->",     "WAIT",      "WHILE",    "WIREFRAME",
    "WSLOG",      "XCOL",       "XMIT",       "XOR",       "XPON",      "XRECV",    "XRNG",
    "XROOT",      "XSEND",      "XVOL",       "XXRNG",     "YCOL",      "YRNG",     "YSLICE",
    "YVOL",       "YYRNG",      "ZFACTOR",    "ZVOL",      "\\->",      "\\->ARRY", "\\->COL",
    "\\->DATE",   "\\->DIAG",   "\\->GROB",   "\\->HMS",   "\\->LCD",   "\\->LIST", "\\->NUM",
    "\\->Q",      "\\->Q\\pi",  "\\->ROW",    "\\->STR",   "\\->TAG",   "\\->TIME", "\\->UNIT",
    "\\->V2",     "\\->V3",     "\\.S",       "\\.d",      "\\156LIST", "\\<<",     "\\<=",
    "\\=/",       "\\>=",       "\\>>",       "\\GDLIST",  "\\GS",      "\\GS+",    "\\GS-",
    "\\GSLINE",   "\\GSLIST",   "\\GSX",      "\\GSX*Y",   "\\GSX^2",   "\\GSY",    "\\GSY^2",
    "\\pi",       "\\v/",       "\\|^MATCH",  "\\|vMATCH", "^",         "_",        "dB",
    "e",          "gmol",       "i",          "lbmol",     "rpm",       "|",
};
}  // namespace

static_assert(std::size(names) == hp48g_command_count);

std::span<const char* const> hp48g_command_names() { return names; }

}  // namespace rplrun
