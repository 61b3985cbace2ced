# Builds the Debian package, reads its dependencies and runs the programs it carries:
# cmake -DBUILD= -DCPACK= -DWORK= -DUI=0|1 -DVERSION= -DDESKTOP_ID= -P PackageTest.cmake
include(${CMAKE_CURRENT_LIST_DIR}/PackagingTestUtil.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD}/CPackConfig.cmake -B ${WORK}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
file(GLOB debs ${WORK}/*.deb)
list(LENGTH debs count)
if(NOT rc EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "cpack: exit ${rc}, packages '${debs}': ${out}${err}")
endif()

execute_process(COMMAND dpkg-deb --info ${debs} OUTPUT_VARIABLE info RESULT_VARIABLE rc)
message(STATUS "${info}")
string(REGEX MATCH "\n Depends: [^\n]*" depends "${info}")
set(needed libc6 libstdc\\+\\+6 libsqlite3-0)
if(UI)
  list(APPEND needed libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6)
endif()
foreach(package ${needed})
  if(NOT depends MATCHES "[ ,]${package} \\(>= [^)]+\\)")
    message(FATAL_ERROR "the package does not depend on ${package}:${depends}")
  endif()
endforeach()
if(NOT info MATCHES "\n Package: brisquel\n" OR NOT info MATCHES "\n Version: ${VERSION}\n")
  message(FATAL_ERROR "package name or version:\n${info}")
endif()

# The programs run from the unpacked package.
execute_process(COMMAND dpkg-deb -x ${debs} ${WORK}/root RESULT_VARIABLE rc)
expect_version(${WORK}/root/usr/bin/brisquel-cli brisquel-cli)
if(UI)
  expect_version(${WORK}/root/usr/bin/brisquel brisquel)
  if(NOT EXISTS ${WORK}/root/usr/share/applications/${DESKTOP_ID}.desktop)
    message(FATAL_ERROR "the package has no launcher")
  endif()
endif()
