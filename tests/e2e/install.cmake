# Installs the build into a fresh prefix, the way a user's `cmake --install`
# would, so that the scenarios run the installed layout and not the build tree.
# Usage: cmake -DBUILD_DIR=<build> -DPREFIX=<prefix> [-DREMOVE=ON] -P install.cmake
file(REMOVE_RECURSE "${PREFIX}")
if(REMOVE)
  return()
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc})")
endif()
if(NOT EXISTS "${PREFIX}/bin/tembra")
  message(FATAL_ERROR "the install put no bin/tembra into ${PREFIX}")
endif()
