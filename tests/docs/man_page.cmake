# Checks that every manual page of the project takes.

include(${CMAKE_CURRENT_LIST_DIR}/../harness/require_tool.cmake)

# The project's own pages, which mandoc cannot find where the suite runs (they
# are not installed there): references to them are not lint.
set(own_pages rplgen rplrun)

# man_page_lint(<page>)
#   mandoc reports nothing, not even a remark on style.
function(man_page_lint page)
  require_tool(mandoc mandoc mandoc)
  if(RPL_TOOL_MISSING)
    return()
  endif()
  execute_process(COMMAND "${mandoc}" -Tlint -Wstyle "${page}"
    OUTPUT_VARIABLE lint ERROR_VARIABLE lint RESULT_VARIABLE status)
  string(REPLACE ";" "," own "${own_pages}")
  string(REPLACE "," "|" own "${own}")
  string(REGEX REPLACE
    "mandoc: [^\n]*: STYLE: referenced manual not found: Xr (${own}) 1( \\([0-9]+ times\\))?\n"
    "" lint "${lint}")
  # Status 1 stands for the remarks, those left out included.
  if(status GREATER 1 OR NOT lint STREQUAL "")
    message(SEND_ERROR "mandoc -Tlint (status ${status}):\n${lint}")
  endif()
endfunction()

# man_page_section(<variable> <page text> <title>)
#   The text of a section, from its .Sh line to the next one.
function(man_page_section variable page title)
  string(FIND "${page}" "\n.Sh ${title}\n" start)
  if(start EQUAL -1)
    message(FATAL_ERROR "the manual page has no section ${title}")
  endif()
  math(EXPR start "${start} + 1")
  string(SUBSTRING "${page}" ${start} -1 rest)
  string(FIND "${rest}" "\n.Sh " end)
  string(SUBSTRING "${rest}" 0 ${end} section)
  set(${variable} "${section}" PARENT_SCOPE)
endfunction()

# man_page_displays(<prefix> <text>)
#   The literal displays (.Bd -literal ... .Ed) of the text, with the escapes
#   \e, \- and \& undone, in <prefix>_0, <prefix>_1, ...; their number in
#   <prefix>_count.
function(man_page_displays prefix text)
  set(count 0)
  set(rest "${text}")
  while(TRUE)
    string(FIND "${rest}" "\n.Bd -literal" begin)
    if(begin EQUAL -1)
      break()
    endif()
    math(EXPR begin "${begin} + 1")
    string(SUBSTRING "${rest}" ${begin} -1 rest)
    string(FIND "${rest}" "\n" first_line_end)
    math(EXPR first_line_end "${first_line_end} + 1")
    string(SUBSTRING "${rest}" ${first_line_end} -1 rest)
    string(FIND "${rest}" "\n.Ed\n" end)
    math(EXPR end "${end} + 1")
    string(SUBSTRING "${rest}" 0 ${end} display)
    string(SUBSTRING "${rest}" ${end} -1 rest)
    string(REPLACE "\\&" "" display "${display}")
    string(REPLACE "\\-" "-" display "${display}")
    string(REPLACE "\\e" "\\" display "${display}")
    set(${prefix}_${count} "${display}" PARENT_SCOPE)
    math(EXPR count "${count} + 1")
  endwhile()
  set(${prefix}_count ${count} PARENT_SCOPE)
endfunction()
