# GoogleTest for the native suites and the Wine tests, as GTest::gtest and
# GTest::gtest_main: the installed one when find_package finds it (Debian's
# libgtest-dev, vcpkg, MSYS2), otherwise built from source with the project.
#
# The source is, in this order: FETCHCONTENT_SOURCE_DIR_GOOGLETEST when given;
# Debian's /usr/src/googletest (package googletest) when present, so that a
# cross build needs no network; else the release below, fetched once into the
# build folder.
#
# -DKORBELA_GTEST_FROM_SOURCE=ON skips find_package. With Visual Studio an
# installed GoogleTest must be built with the static runtime like the project
# (/MT, vcpkg triplet x64-windows-static); one built from source here is.
option(KORBELA_GTEST_FROM_SOURCE "Build GoogleTest from source even when an installed one is found" OFF)

if(TARGET GTest::gtest AND TARGET GTest::gtest_main)
  return()
endif()

if(NOT KORBELA_GTEST_FROM_SOURCE)
  find_package(GTest QUIET)
endif()
if(GTest_FOUND AND TARGET GTest::gtest AND TARGET GTest::gtest_main)
  message(STATUS "GoogleTest: the installed one")
  return()
endif()

# In a function, so that the settings below stay GoogleTest's own.
function(korbela_googletest_from_source)
  include(FetchContent)
  set(KORBELA_GTEST_DEBIAN_SOURCE /usr/src/googletest)
  if(NOT FETCHCONTENT_SOURCE_DIR_GOOGLETEST AND EXISTS ${KORBELA_GTEST_DEBIAN_SOURCE}/CMakeLists.txt)
    set(FETCHCONTENT_SOURCE_DIR_GOOGLETEST ${KORBELA_GTEST_DEBIAN_SOURCE} CACHE PATH
        "GoogleTest's source folder, used instead of a download")
  endif()
  FetchContent_Declare(googletest
    GIT_REPOSITORY https://github.com/google/googletest.git
    GIT_TAG release-1.12.1
    GIT_SHALLOW TRUE)

  # Only the test library: no GoogleMock, nothing to install. A static library
  # on the project's C runtime: GoogleTest's own CMake is older than the policy
  # that makes CMAKE_MSVC_RUNTIME_LIBRARY apply, so the policy is set for it
  # (without it Visual Studio's Debug build would mix /MT and /MTd).
  set(BUILD_GMOCK OFF)
  set(INSTALL_GTEST OFF)
  set(BUILD_SHARED_LIBS OFF)
  set(gtest_force_shared_crt OFF)
  set(CMAKE_POLICY_DEFAULT_CMP0077 NEW)
  set(CMAKE_POLICY_DEFAULT_CMP0091 NEW)
  if(FETCHCONTENT_SOURCE_DIR_GOOGLETEST)
    message(STATUS "GoogleTest: built from ${FETCHCONTENT_SOURCE_DIR_GOOGLETEST}")
  else()
    message(STATUS "GoogleTest: built from the fetched release-1.12.1")
  endif()
  FetchContent_MakeAvailable(googletest)
endfunction()
korbela_googletest_from_source()
