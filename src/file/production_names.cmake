# production_names.cmake - writes production_names.h, the enumeration of the model-file
# grammar's productions by name, from the description bison gives of the grammar (--xml).
#   cmake -DGRAMMAR_XML=model_grammar.xml -DOUTPUT=production_names.h -P production_names.cmake
#
# A production's name is its left side, then the symbols of its right side, joined by
# "_": "rasterstmt: PROMPT strval ';'" is rasterstmt_PROMPT_strval. Punctuation is left
# out except '-' (minus), a leading "_" of a token is dropped (_ID is ID), an empty right
# side is "empty", and a left side with one production is the name alone (outputstart).
# The names thus follow the grammar's text, and the numbers come from bison: the reader's
# actions cannot be routed to the wrong production by a change of order. Two productions
# with one name fail the build.

file(READ "${GRAMMAR_XML}" xml)
string(FIND "${xml}" "</rules>" rulesEnd)
if(rulesEnd LESS 0)
  message(FATAL_ERROR "${GRAMMAR_XML}: no rules")
endif()
string(SUBSTRING "${xml}" 0 ${rulesEnd} xml)
# One list element per line; the grammar's ';' must not split one.
string(REPLACE ";" "%semicolon%" xml "${xml}")
string(REPLACE "\n" ";" lines "${xml}")

set(numbers "")
set(number "")
foreach(line IN LISTS lines)
  if(line MATCHES "<rule number=\"([0-9]+)\"")
    set(number ${CMAKE_MATCH_1})
    set(lhs "")
    set(words "")
    set(text "")
  elseif(number STREQUAL "" OR number EQUAL 0) # rule 0 is bison's own start rule
    continue()
  elseif(line MATCHES "<lhs>([^<]+)</lhs>")
    set(lhs "${CMAKE_MATCH_1}")
  elseif(line MATCHES "<symbol>([^<]+)</symbol>")
    set(symbol "${CMAKE_MATCH_1}")
    string(REPLACE "%semicolon%" ";" symbol "${symbol}")
    string(REPLACE "&apos;" "'" symbol "${symbol}")
    string(APPEND text " ${symbol}")
    if(symbol STREQUAL "'-'")
      list(APPEND words minus)
    elseif(symbol MATCHES "^[_]*([A-Za-z][A-Za-z0-9_]*)$")
      list(APPEND words ${CMAKE_MATCH_1})
    elseif(NOT symbol MATCHES "^'.'$")
      message(FATAL_ERROR "${GRAMMAR_XML}: rule ${number}: no name for the symbol ${symbol}")
    endif()
  elseif(line MATCHES "<empty/>")
    set(words empty)
    set(text " %empty")
  elseif(line MATCHES "</rule>")
    list(APPEND numbers ${number})
    set(lhs_${number} "${lhs}")
    set(words_${number} "${words}")
    set(text_${number} "${lhs}:${text}")
    if(NOT DEFINED count_${lhs})
      set(count_${lhs} 0)
    endif()
    math(EXPR count_${lhs} "${count_${lhs}}+1")
    set(number "")
  endif()
endforeach()

list(LENGTH numbers productions)
set(body "")
set(expected 1)
foreach(number IN LISTS numbers)
  if(NOT number EQUAL expected)
    message(FATAL_ERROR "${GRAMMAR_XML}: rule ${expected} is missing")
  endif()
  math(EXPR expected "${expected}+1")
  set(lhs "${lhs_${number}}")
  if(count_${lhs} EQUAL 1)
    set(name "${lhs}")
  else()
    list(JOIN words_${number} "_" joined)
    set(name "${lhs}_${joined}")
  endif()
  if(DEFINED seen_${name})
    message(FATAL_ERROR "${GRAMMAR_XML}: rules ${seen_${name}} and ${number} are both named ${name}")
  endif()
  set(seen_${name} ${number})
  string(APPEND body "    ${name} = ${number}, // ${text_${number}}\n")
endforeach()

set(header "// production_names.h - generated from model_grammar.y by production_names.cmake; do not edit.
// The productions of the model-file grammar by name, with the numbers the driver passes
// to parseAction.
#ifndef VMOD_FILE_PRODUCTION_NAMES_H
#define VMOD_FILE_PRODUCTION_NAMES_H

#include <cstdint>

enum class Production : int32_t {
${body}};

// How many productions the grammar has (numbered from 1).
constexpr int32_t VMOD_NAMED_PRODUCTIONS = ${productions};

#endif
")
# Rewritten only when it changes, so that a grammar edit that keeps every production
# rebuilds nothing.
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT "${header}" @ONLY)
