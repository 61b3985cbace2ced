# Runs brisquel-cli odds and eval: cmake -DCLI=<program> -DWORK=<folder> -P OddsEvalTest.cmake

function(run_cli out_var err_var rc_var)
  execute_process(COMMAND ${CLI} ${ARGN} OUTPUT_VARIABLE out ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  set(${out_var} "${out}" PARENT_SCOPE)
  set(${err_var} "${err}" PARENT_SCOPE)
  set(${rc_var} "${rc}" PARENT_SCOPE)
endfunction()

function(expect_bad_input)
  run_cli(out err rc ${ARGN})
  if(NOT rc EQUAL 2 OR err STREQUAL "" OR NOT out STREQUAL "")
    message(FATAL_ERROR "expected exit 2 with a message for '${ARGN}', got ${rc}: ${out}${err}")
  endif()
endfunction()

# Aces against one random hand: 0.852 exactly; 200000 samples give a standard error of 0.0008.
run_cli(out err rc odds AhAd --players 2 --trials 200000 --seed 1)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^0\\.[0-9][0-9][0-9][0-9]\n$")
  message(FATAL_ERROR "odds: exit ${rc}, output '${out}' ${err}")
endif()
string(STRIP "${out}" aces)
if(aces LESS 0.8445 OR aces GREATER 0.8595)
  message(FATAL_ERROR "aces against one hand: ${aces}")
endif()

# A seed repeats the answer; cards may be written apart and the board given.
run_cli(first err rc odds AhKd --board "Qs Jd 2c" --players 4 --trials 5000 --seed 9)
run_cli(second err rc odds "Ah Kd" --board QsJd2c --players 4 --trials 5000 --seed 9)
if(NOT first STREQUAL second)
  message(FATAL_ERROR "seeded odds differ: ${first} / ${second}")
endif()
# A made royal flush cannot lose.
run_cli(out err rc odds AhKh --board "Qh Jh Th" --players 10 --trials 1000)
if(NOT out STREQUAL "1.0000\n")
  message(FATAL_ERROR "royal flush odds: ${out}")
endif()

expect_bad_input(odds AhAh --players 2)
expect_bad_input(odds AhXd --players 2)
expect_bad_input(odds Ah --players 2)
expect_bad_input(odds AhKdQs --players 2)
expect_bad_input(odds AhKd --players 1)
expect_bad_input(odds AhKd --players 11)
expect_bad_input(odds AhKd --players two)
expect_bad_input(odds AhKd --players 2 --trials -5)
expect_bad_input(odds AhKd --players 2 --threads 65)
expect_bad_input(odds AhKd --board "Qs Jd" --players 2)
expect_bad_input(odds AhKd --board "Qs Jd Ah" --players 2)
expect_bad_input(odds AhKd --players)
expect_bad_input(odds)
expect_bad_input(nosuchcommand)

# Short decks: dead cards that leave fewer cards than the deal needs are refused, sampled or
# exact; with just enough left it still answers. Cases: dead cards (the first of the deck
# below), players, exact deals (C(left, 2) hands by C(left - 2, 5) boards) or "refused".
set(deck 2c 3c 4c 5c 6c 7c 8c 9c Tc Jc Qc Kc Ac 2d 3d 4d 5d 6d 7d 8d 9d Td Jd Qd Ad
    2h 3h 4h 5h 6h 7h 8h 9h Th Jh Qh Kh 2s 3s 4s 5s 6s 7s 8s)
foreach(case "40;4;refused" "44;2;refused" "40;2;2520" "43;2;21")
  list(GET case 0 count)
  list(GET case 1 players)
  list(GET case 2 deals)
  list(SUBLIST deck 0 ${count} dead)
  string(JOIN " " dead ${dead})
  foreach(mode "--exact;--detail" "--trials;3000;--seed;4")
    run_cli(out err rc odds AhKd --dead "${dead}" --players ${players} ${mode})
    if(deals STREQUAL "refused")
      set(bad NOT rc EQUAL 2 OR out OR NOT err MATCHES "cards but only")
    elseif(mode MATCHES "exact")
      set(bad NOT rc EQUAL 0 OR NOT out MATCHES "exact: ${deals} deals")
    else()
      set(bad NOT rc EQUAL 0 OR NOT out MATCHES "^0\\.[0-9]+\n$")
    endif()
    if(${bad})
      message(FATAL_ERROR "${count} dead, ${players} players, ${mode}: exit ${rc}, '${out}' ${err}")
    endif()
  endforeach()
endforeach()

expect_bad_input()

# eval: code, strength, name per line; equal strengths only for equal hands.
file(WRITE ${WORK}/eval_in.txt
  "Ah Kd Qs Jc Tc 2d 3h\n"
  "Kh Kd Kc 7s 7d\n"
  "2c 3c 4c 5c Ac 9d\n"
  "7h 7d 5c 8s Jh 2c\n"
  "Ts Jd Qc Kh Ah 2c 3d\n"
  "Ts Jd Qc Kh Ah 4s 5s\n"
  "Ah Kd 9c 7s 4d 3c 2d\n")
execute_process(COMMAND ${CLI} eval INPUT_FILE ${WORK}/eval_in.txt OUTPUT_VARIABLE out
                RESULT_VARIABLE rc)
string(REGEX REPLACE "\n$" "" out "${out}")
string(REPLACE "\n" ";" lines "${out}")
list(LENGTH lines count)
if(NOT rc EQUAL 0 OR NOT count EQUAL 7)
  message(FATAL_ERROR "eval: exit ${rc}, output:\n${out}")
endif()
set(expected
  "29\t[0-9]+\tStraight, Ace high"
  "31\t[0-9]+\tFull house, Kings full of Sevens"
  "33\t[0-9]+\tStraight flush, Five high"
  "19\t[0-9]+\tPair of Sevens"
  "29\t[0-9]+\tStraight, Ace high"
  "29\t[0-9]+\tStraight, Ace high"
  "13\t[0-9]+\tAce high")
set(strengths)
foreach(i RANGE 6)
  list(GET lines ${i} line)
  list(GET expected ${i} pattern)
  if(NOT line MATCHES "^${pattern}$")
    message(FATAL_ERROR "eval line ${i}: '${line}' does not match '${pattern}'")
  endif()
  string(REGEX MATCH "\t[0-9]+\t" s "${line}")
  string(STRIP "${s}" s)
  list(APPEND strengths ${s})
endforeach()
list(GET strengths 0 broadway)
list(GET strengths 4 board1)
list(GET strengths 5 board2)
list(GET strengths 1 boat)
list(GET strengths 2 steel)
list(GET strengths 3 sevens)
list(GET strengths 6 ace)
if(NOT board1 EQUAL board2 OR NOT broadway EQUAL board1 OR NOT boat GREATER broadway
   OR NOT steel GREATER boat OR NOT sevens GREATER ace OR NOT broadway GREATER sevens)
  message(FATAL_ERROR "eval strengths out of order: ${strengths}")
endif()

file(WRITE ${WORK}/eval_bad.txt "Ah Kd Qs Jc Tc\nAh Kd Qs Jc\n")
execute_process(COMMAND ${CLI} eval INPUT_FILE ${WORK}/eval_bad.txt RESULT_VARIABLE rc
                OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT err MATCHES "line 2")
  message(FATAL_ERROR "eval with four cards: exit ${rc}, ${err}")
endif()
foreach(bad "Ah Kd Qs Jc Tc Ah" "Ah Kd Qs Jc Tc 9d 8d 7d" "Ah Kd Qs Jc Zz")
  file(WRITE ${WORK}/eval_bad.txt "${bad}\n")
  execute_process(COMMAND ${CLI} eval INPUT_FILE ${WORK}/eval_bad.txt RESULT_VARIABLE rc
                  OUTPUT_QUIET ERROR_QUIET)
  if(NOT rc EQUAL 2)
    message(FATAL_ERROR "eval accepted '${bad}'")
  endif()
endforeach()
