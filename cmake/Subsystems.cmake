# A subsystem is every .cpp under its folder; adding a file needs no edit here.
function(gyrelle_subsystem name)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${name}/*.cpp)
  add_library(gy_${name} OBJECT ${srcs} ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  target_include_directories(gy_${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(gy_${name} PRIVATE -fvisibility=hidden)
endfunction()

# One GoogleTest executable per folder of tests/; every .cpp in it is a suite.
function(gyrelle_test_folder folder)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  set(exe test_${folder})
  add_executable(${exe} ${srcs})
  target_link_libraries(${exe} PRIVATE gyrelle_core gyrelle_test_support GTest::gtest GTest::gtest_main)
  target_compile_definitions(${exe} PRIVATE
    GYRELLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    GYRELLE_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/${folder}/data")
  add_test(NAME ${exe} COMMAND ${exe} --gtest_brief=1)
  set(labels unit ${folder})
  # The threaded code also runs under ThreadSanitizer.
  if(folder IN_LIST GYRELLE_THREADED_TEST_FOLDERS)
    list(APPEND labels tsan)
  endif()
  set_tests_properties(${exe} PROPERTIES LABELS "${labels}" TIMEOUT 600)
endfunction()
