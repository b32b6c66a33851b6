# The editor files are well formed and agree with the language: every JSON
# file parses, the TextMate grammar's references resolve, the VS Code manifest
# points at files that exist, and both the Vim syntax and the TextMate grammar
# know every keyword of the scanner.
#
# cmake -DSOURCE_DIR=... -P check_editor_grammars.cmake
cmake_minimum_required(VERSION 3.25)

set(editors "${SOURCE_DIR}/editors")

file(GLOB_RECURSE json_files "${editors}/*.json")
if(NOT json_files)
  message(FATAL_ERROR "no JSON files under ${editors}")
endif()
foreach(file IN LISTS json_files)
  file(READ "${file}" json)
  string(JSON type ERROR_VARIABLE error TYPE "${json}")
  if(error OR NOT type STREQUAL "OBJECT")
    message(SEND_ERROR "${file} is not a JSON object: ${error}")
  endif()
endforeach()

# The grammar: its scope, its file type, and every "#name" include resolved.
set(grammar_file "${editors}/vscode/syntaxes/c48.tmLanguage.json")
file(READ "${grammar_file}" grammar)
string(JSON scope GET "${grammar}" scopeName)
if(NOT scope STREQUAL "source.c48")
  message(SEND_ERROR "the grammar's scopeName is ${scope}")
endif()
string(JSON file_type GET "${grammar}" fileTypes 0)
if(NOT file_type STREQUAL "c48")
  message(SEND_ERROR "the grammar's file type is ${file_type}")
endif()
string(REGEX MATCHALL "\"include\": *\"#[^\"]*\"" includes "${grammar}")
if(NOT includes)
  message(SEND_ERROR "the grammar includes nothing from its repository")
endif()
foreach(include IN LISTS includes)
  string(REGEX REPLACE ".*\"#([^\"]*)\"" "\\1" name "${include}")
  string(JSON entry ERROR_VARIABLE error GET "${grammar}" repository "${name}")
  if(error)
    message(SEND_ERROR "the grammar includes #${name}, which its repository lacks")
  endif()
endforeach()

# The manifest: the language, its extension, and files that exist.
file(READ "${editors}/vscode/package.json" manifest)
string(JSON extension GET "${manifest}" contributes languages 0 extensions 0)
if(NOT extension STREQUAL ".c48")
  message(SEND_ERROR "package.json claims the extension ${extension}")
endif()
string(JSON path GET "${manifest}" contributes grammars 0 path)
string(JSON manifest_scope GET "${manifest}" contributes grammars 0 scopeName)
string(JSON configuration GET "${manifest}" contributes languages 0 configuration)
foreach(referenced IN ITEMS "${path}" "${configuration}")
  if(NOT EXISTS "${editors}/vscode/${referenced}")
    message(SEND_ERROR "package.json names ${referenced}, which does not exist")
  endif()
endforeach()
if(NOT manifest_scope STREQUAL scope)
  message(SEND_ERROR "package.json names the scope ${manifest_scope}, the grammar ${scope}")
endif()

# The keywords, as the scanner knows them: rules of the form "word" { return ...; }.
file(STRINGS "${SOURCE_DIR}/src/rplgen/lexer/scanner.l" keyword_rules
  REGEX "^\"[a-z]+\" +\\{ *return ")
set(keywords)
foreach(rule IN LISTS keyword_rules)
  string(REGEX REPLACE "^\"([a-z]+)\".*" "\\1" keyword "${rule}")
  list(APPEND keywords ${keyword})
endforeach()
list(LENGTH keywords count)
if(count LESS 10)
  message(SEND_ERROR "found only ${count} keywords in scanner.l: ${keywords}")
endif()
string(JSON grammar_keywords GET "${grammar}" repository keywords)
file(STRINGS "${editors}/vim/syntax/c48.vim" vim_keywords
  REGEX "^syntax keyword c48(Conditional|Repeat|Label|Statement) ")
foreach(keyword IN LISTS keywords)
  if(NOT grammar_keywords MATCHES "[^a-z]${keyword}[^a-z]")
    message(SEND_ERROR "the TextMate grammar lacks the keyword ${keyword}")
  endif()
  if(NOT vim_keywords MATCHES " ${keyword}( |;|$)")
    message(SEND_ERROR "the Vim syntax lacks the keyword ${keyword}")
  endif()
endforeach()

# Vim detects the file type of *.c48 files.
file(READ "${editors}/vim/ftdetect/c48.vim" ftdetect)
if(NOT ftdetect MATCHES "\\*\\.c48 +setfiletype c48")
  message(SEND_ERROR "ftdetect/c48.vim does not detect *.c48 files")
endif()
