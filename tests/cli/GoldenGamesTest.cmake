# Seeded bot games (each one's arguments separated by commas) must write the same game log
# and hand history, byte for byte, as the files kept in tests/data/golden (dates and times
# aside). A change that means to alter
# what the games write refreshes them with -DUPDATE=1 and shows the difference in review.
#   cmake -DCLI=... -DWORK=... -DGOLDEN=... [-DUPDATE=1] -P GoldenGamesTest.cmake
set(_games
  "fixed_2|--seats,2,--blinds,10/20,--hands,80,--seed,12"
  "fixed_6|--seats,6,--blinds,10/20,--hands,80,--seed,6"
  "fixed_10|--seats,10,--blinds,10/20,--hands,80,--seed,10"
  "short_6|--seats,6,--stacks,300,--blinds,10/20,--hands,80,--seed,3"
  "nine_2|--seats,2,--type,9 players,--seed,12"
  "nine_6|--seats,6,--type,9 players,--seed,6"
  "nine_10|--seats,10,--type,9 players,--seed,10"
  "turbo_2|--seats,2,--type,9 players Turbo,--seed,12"
  "turbo_6|--seats,6,--type,9 players Turbo,--seed,6"
  "turbo_10|--seats,10,--type,9 players Turbo,--seed,10")

# Dates and times come from the clock; everything else must match.
function(masked file out)
  file(READ ${file} _text)
  string(REGEX REPLACE "[0-9][0-9][0-9][0-9]\\.[0-9][0-9]\\.[0-9][0-9]  [0-9][0-9]:[0-9][0-9]:[0-9][0-9]"
         "<date>" _text "${_text}")
  set(${out} "${_text}" PARENT_SCOPE)
endfunction()

set(_failed "")
foreach(_game ${_games})
  string(FIND "${_game}" "|" _bar)
  string(SUBSTRING "${_game}" 0 ${_bar} _name)
  math(EXPR _from "${_bar} + 1")
  string(SUBSTRING "${_game}" ${_from} -1 _args)
  string(REPLACE "," ";" _args "${_args}")
  set(_dir ${WORK}/golden/${_name})
  file(REMOVE_RECURSE ${_dir})
  file(MAKE_DIRECTORY ${_dir})
  execute_process(COMMAND ${CLI} play ${_args} --out ${_dir} RESULT_VARIABLE _rc
                  OUTPUT_QUIET ERROR_VARIABLE _err)
  if(NOT _rc EQUAL 0)
    message(SEND_ERROR "${_name}: play exited ${_rc}: ${_err}")
    continue()
  endif()
  file(GLOB _hh ${_dir}/HandHistory/HH_*.txt)
  masked(${_dir}/HistoryGame.log _log)
  masked(${_hh} _history)
  foreach(_kind log history)
    if(_kind STREQUAL log)
      set(_golden ${GOLDEN}/${_name}.log)
      set(_now "${_log}")
    else()
      set(_golden ${GOLDEN}/${_name}.hh.txt)
      set(_now "${_history}")
    endif()
    if(UPDATE)
      file(WRITE ${_golden} "${_now}")
      continue()
    endif()
    if(NOT EXISTS ${_golden})
      message(SEND_ERROR "${_name}: no golden file ${_golden}")
      continue()
    endif()
    file(READ ${_golden} _expected)
    if(NOT _now STREQUAL _expected)
      file(WRITE ${_dir}/${_kind}.masked "${_now}")
      list(APPEND _failed "${_name} ${_kind} (diff ${_golden} ${_dir}/${_kind}.masked)")
    endif()
  endforeach()
endforeach()
if(_failed)
  string(REPLACE ";" "\n  " _list "${_failed}")
  message(FATAL_ERROR "Seeded games wrote other files than before:\n  ${_list}")
endif()
