# Runs brisquel-cli results over a database written by two real games:
# cmake -DCLI=<program> -DWORK=<folder> -P ResultsTest.cmake

set(dir ${WORK}/results_games)
file(REMOVE_RECURSE ${dir})
foreach(seed 5 6)
  execute_process(COMMAND ${CLI} play --seats 3 --hands 20 --seed ${seed} --out ${dir}
                  OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "play --seed ${seed}: exit ${rc}")
  endif()
  # Seat 0's persona plays no other of the three seats: its result is seat 0's final stack
  # less the 1000 it started with.
  string(REGEX MATCH "\n0 +([A-Za-z]+)_0 +[^ ]+ +([0-9]+)" seat0 "${out}")
  set(persona ${CMAKE_MATCH_1})
  math(EXPR won_${seed} "${CMAKE_MATCH_2} - 1000")
endforeach()
math(EXPR total "${won_5} + ${won_6}")

execute_process(COMMAND ${CLI} results --db ${dir}/PokerDB.db3
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^Name +Games +TotalWon +LastBalance +Hands +VPIP +PFR +3-bet\n")
  message(FATAL_ERROR "results: exit ${rc}: ${out}${err}")
endif()
if(NOT out MATCHES "\n${persona} +2 +${total} +${total} +[0-9]+ +[0-9.]+ +[0-9.]+ +[0-9.]+\n")
  message(FATAL_ERROR "results: ${persona} should show 2 games and ${total} won:\n${out}")
endif()
foreach(name Hero Master Tim Maniac Professor)
  if(NOT out MATCHES "\n${name} +2 ")
    message(FATAL_ERROR "results: no line of two games for ${name}:\n${out}")
  endif()
endforeach()

foreach(bad "--db;${dir}/missing.db3" "--db;${CMAKE_CURRENT_LIST_FILE}" "--db" "--dbx;x")
  execute_process(COMMAND ${CLI} results ${bad} OUTPUT_VARIABLE out ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 2 OR err STREQUAL "" OR NOT out STREQUAL "")
    message(FATAL_ERROR "results ${bad}: expected exit 2 and a message, got ${rc}: ${out}${err}")
  endif()
endforeach()
