# Installs into a staging folder (DESTDIR) and runs the installed programs from there:
# cmake -DBUILD= -DWORK= -DUI=0|1 -DVERSION= -DDESKTOP_ID= -DAPPSTREAM_ID= -DICON_SIZES=a,b
#       -P InstallTest.cmake
include(${CMAKE_CURRENT_LIST_DIR}/PackagingTestUtil.cmake)

set(stage ${WORK}/stage)
set(home ${WORK}/home)
set(cwd ${WORK}/cwd)
set(data ${home}/.local/share/Ostrivane/Brisquel)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${stage} ${home} ${cwd})

execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${stage}
                        ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install: exit ${rc}: ${err}")
endif()
set(expected usr/bin/brisquel-cli)
if(UI)
  list(APPEND expected usr/bin/brisquel usr/share/applications/${DESKTOP_ID}.desktop
       usr/share/metainfo/${APPSTREAM_ID}.metainfo.xml)
  string(REPLACE "," ";" sizes "${ICON_SIZES}")
  foreach(size ${sizes})
    list(APPEND expected usr/share/icons/hicolor/${size}x${size}/apps/${DESKTOP_ID}.png)
  endforeach()
endif()
list(SORT expected)
files_below(${stage} installed)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed:\n  ${installed}\nexpected:\n  ${expected}")
endif()
set(cli ${stage}/usr/bin/brisquel-cli)

expect_version(${cli} brisquel-cli)
run_in(${home} ${cwd} out err rc ${cli} odds AhAd --players 2 --trials 2000 --seed 1)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^0\\.[0-9]+\n$")
  message(FATAL_ERROR "installed odds: exit ${rc}, '${out}' ${err}")
endif()

# Installed, the files go to the data folder of HOME, and nowhere else.
run_in(${home} ${cwd} out err rc ${cli} --help)
if(NOT rc EQUAL 0 OR NOT out MATCHES "${data}")
  message(FATAL_ERROR "--help does not name the data folder ${data}: ${out}")
endif()
run_in(${home} ${cwd} out err rc ${cli} play --seats 3 --hands 4 --seed 5)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "installed play: exit ${rc}: ${out}${err}")
endif()
files_below(${data} written)
if(NOT written MATCHES "^HandHistory/HH_[0-9_]+\\.log;HandHistory/HH_[0-9_]+\\.txt;HistoryGame\\.log;PokerDB\\.db3$")
  message(FATAL_ERROR "files in the data folder: ${written}")
endif()
files_below(${cwd} strays)
files_below(${stage} installed_after)
if(strays OR NOT installed_after STREQUAL installed)
  message(FATAL_ERROR "files outside the data folder: ${strays} / ${installed_after}")
endif()

# --data-dir chooses the folder; a relative one is taken from the current folder.
run_in(${home} ${cwd} out err rc ${cli} --data-dir mine play --seats 2 --hands 1 --seed 5)
files_below(${cwd}/mine written)
if(NOT rc EQUAL 0 OR NOT written MATCHES "HistoryGame\\.log;PokerDB\\.db3$")
  message(FATAL_ERROR "play with --data-dir: exit ${rc}, files ${written}: ${err}")
endif()

# A data folder that cannot be made: a message, and the game is played all the same.
file(WRITE ${WORK}/blocked/.local "not a folder")
run_in(${WORK}/blocked ${cwd} out err rc ${cli} play --seats 2 --hands 2 --seed 5)
# The game is played; status 3 tells a script that its results were not saved.
if(NOT rc EQUAL 3 OR NOT out MATCHES "Hands played: 2" OR NOT err MATCHES "cannot create")
  message(FATAL_ERROR "play with an unusable data folder: exit ${rc}: ${out}${err}")
endif()

# --data-dir without its folder is bad input.
run_in(${home} ${cwd} out err rc ${cli} --data-dir)
if(NOT rc EQUAL 2 OR NOT err MATCHES "--data-dir")
  message(FATAL_ERROR "--data-dir without a folder: exit ${rc}: ${err}")
endif()

# From the build tree the files stay where they always went: the current folder.
file(MAKE_DIRECTORY ${WORK}/tree_home ${WORK}/tree_cwd)
run_in(${WORK}/tree_home ${WORK}/tree_cwd out err rc ${BUILD}/cli/brisquel-cli
       play --seats 2 --hands 1 --seed 5)
files_below(${WORK}/tree_cwd written)
files_below(${WORK}/tree_home strays)
if(NOT rc EQUAL 0 OR NOT written MATCHES "HistoryGame\\.log;PokerDB\\.db3$" OR strays)
  message(FATAL_ERROR "build-tree play: exit ${rc}, files ${written} / ${strays}: ${err}")
endif()

if(UI)
  set(gui ${stage}/usr/bin/brisquel)
  expect_version(${gui} brisquel)
  foreach(bad "--data-dir" "--pace;fast")
    run_in(${home} ${cwd} out err rc ${gui} ${bad})
    if(NOT rc EQUAL 2 OR NOT err MATCHES "^brisquel: ")
      message(FATAL_ERROR "brisquel ${bad}: exit ${rc}, '${err}'")
    endif()
  endforeach()
  # Without a display: one line that says so and names brisquel-cli.
  run_in(${home} ${cwd} out err rc ${gui})
  if(rc EQUAL 0 OR NOT out STREQUAL "" OR NOT err MATCHES "^brisquel: [^\n]*brisquel-cli[^\n]*\n$")
    message(FATAL_ERROR "brisquel without a display: exit ${rc}, '${out}' '${err}'")
  endif()
  # A display that is named but cannot be opened.
  run_in(${home} ${cwd} out err rc ${CMAKE_COMMAND} -E env DISPLAY=:4747 ${gui})
  if(rc EQUAL 0 OR NOT err MATCHES "^brisquel: [^\n]*:4747[^\n]*brisquel-cli[^\n]*\n$")
    message(FATAL_ERROR "brisquel with a display it cannot open: exit ${rc}, '${err}'")
  endif()
endif()
