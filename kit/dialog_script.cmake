# Reads a DIALOGEX from a resource script, as the project writes them: the rectangle, then
# STYLE, EXSTYLE, CAPTION and FONT, then only CONTROL statements with their whole style.
# Anything else in the dialog stops the configure, naming it: nothing is skipped unread.
#   tunelore_read_dialog(<script> <dialog name> HEADERS <header>... JSON <file> CONTROLS <var>)
# JSON gets the dialog as its template in the binary holds it (the shipped files' checks
# compare the two); CONTROLS gets one "{id, ControlKind::Kind}," line per control with an id,
# for the model's dialog manager.
include_guard(GLOBAL)

# The Windows names the scripts use, with the values of Microsoft's headers.
set(_rc_names
  IDOK=1 IDCANCEL=2 WS_POPUP=0x80000000 WS_CHILD=0x40000000 WS_VISIBLE=0x10000000
  WS_CAPTION=0x00C00000 WS_BORDER=0x00800000 WS_SYSMENU=0x00080000 WS_GROUP=0x00020000
  WS_TABSTOP=0x00010000 DS_MODALFRAME=0x80 DS_SETFONT=0x40 BS_PUSHBUTTON=0 BS_DEFPUSHBUTTON=1
  BS_AUTOCHECKBOX=3 BS_GROUPBOX=7 BS_MULTILINE=0x2000 SS_LEFT=0 SS_BITMAP=0x0E ES_PASSWORD=0x20
  ES_AUTOHSCROLL=0x80)

# <out>: a token's value, its names resolved: a number (decimal) or a JSON string.
function(_rc_value out token)
  string(STRIP "${token}" token)
  while(DEFINED _rc_name_${token})
    set(token "${_rc_name_${token}}")
  endwhile()
  if(token MATCHES "^\"[^\"\\\\]*\"$")
    set(value "${token}")
  elseif(token MATCHES "[|]")
    string(REPLACE "|" ";" terms "${token}")
    set(expression 0)
    foreach(term IN LISTS terms)
      _rc_value(term "${term}")
      string(APPEND expression " | ${term}")
    endforeach()
    math(EXPR value "${expression}")
  elseif(token MATCHES "^[(]?(-?(0x[0-9A-Fa-f]+|[0-9]+))[)]?$")
    math(EXPR value "${CMAKE_MATCH_1}")
  else()
    message(FATAL_ERROR "${_rc_script}: cannot read \"${token}\"")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# <names>: the values of a comma-separated list of tokens, one variable each.
function(_rc_fields text)
  string(REGEX MATCHALL "\"[^\"]*\"|[^,\" ][^,\"]*" tokens "${text}")
  list(LENGTH tokens found)
  list(LENGTH ARGN wanted)
  if(NOT found EQUAL wanted)
    message(FATAL_ERROR "${_rc_script}: cannot read \"${text}\" as ${ARGN}")
  endif()
  foreach(name IN LISTS ARGN)
    list(POP_FRONT tokens token)
    _rc_value(value "${token}")
    set(${name} "${value}" PARENT_SCOPE)
  endforeach()
endfunction()

function(tunelore_read_dialog script dialog)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "JSON;CONTROLS" "HEADERS")
  set(_rc_script ${script})
  set(names ${_rc_names})
  foreach(file IN LISTS arg_HEADERS script)
    file(STRINGS ${file} defines REGEX "^#define[ \t]+[A-Za-z_0-9]+[ \t]+[^ \t]")
    list(TRANSFORM defines REPLACE "^#define[ \t]+([A-Za-z_0-9]+)[ \t]+(.*[^ \t])[ \t]*$" "\\1=\\2")
    list(APPEND names ${defines})
  endforeach()
  foreach(name IN LISTS names)
    string(REGEX MATCH "^([^=]+)=(.*)$" _ "${name}")
    set(_rc_name_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script} ${arg_HEADERS})

  file(READ ${script} text)
  set(line "([^\n]*)\n")
  if(NOT text MATCHES
     "\n${dialog} DIALOGEX ${line}STYLE ${line}EXSTYLE ${line}CAPTION ${line}FONT ${line}BEGIN\n(([^\n]*\n)*)END\n")
    message(FATAL_ERROR "${script}: no DIALOGEX ${dialog} of the form this reader knows")
  endif()
  set(body "${CMAKE_MATCH_6}")
  set(head x y cx cy style exStyle caption pointsize typeface weight italic charset)
  _rc_fields("${CMAKE_MATCH_1},${CMAKE_MATCH_2},${CMAKE_MATCH_3},${CMAKE_MATCH_4},${CMAKE_MATCH_5}"
             ${head})
  set(json "{\"helpID\": 0, \"menu\": null, \"class\": null")
  foreach(key IN LISTS head)
    string(APPEND json ", \"${key}\": ${${key}}")
  endforeach()
  string(APPEND json ",\n \"items\": [\n")
  # Every statement a CONTROL: text before the first or between two fails to read.
  set(controls "")
  string(REGEX REPLACE "[ \t\n]+" " " body "${body}")
  string(REGEX REPLACE "^ *CONTROL " "" body "${body}")
  string(REGEX REPLACE " CONTROL " ";" statements "${body}")
  foreach(statement IN LISTS statements)
    _rc_fields("${statement}" title id class style x y cx cy)
    if(NOT title MATCHES "^\"")
      set(title "{\"ordinal\": ${title}}")
    endif()
    string(APPEND json "    {\"helpID\": 0, \"exStyle\": 0, \"class\": {\"ordinal\": ${class}}, "
           "\"title\": ${title}, \"extra\": \"\"")
    foreach(key id style x y cx cy)
      string(APPEND json ", \"${key}\": ${${key}}")
    endforeach()
    string(APPEND json "},\n")
    # The model's kinds: 0x80 a button (its style's low four bits: 0 and 1 push buttons, 3 a
    # check box), 0x81 an edit control; controls without an id are only shown.
    math(EXPR type "${style} & 15")
    if(id EQUAL -1)
      continue()
    elseif(class EQUAL 129)
      set(kind Edit)
    elseif(class EQUAL 128 AND type EQUAL 3)
      set(kind AutoCheckBox)
    elseif(class EQUAL 128 AND type LESS 2)
      set(kind PushButton)
    else()
      message(FATAL_ERROR "${script}: control ${id} of a kind the model lacks")
    endif()
    string(APPEND controls "{${id}, ControlKind::${kind}},\n")
  endforeach()
  string(REGEX REPLACE ",\n$" "\n  ]}\n" json "${json}")
  file(CONFIGURE OUTPUT ${arg_JSON} CONTENT "${json}")
  set(${arg_CONTROLS} "${controls}" PARENT_SCOPE)
endfunction()
