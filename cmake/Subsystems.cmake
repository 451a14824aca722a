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
  set(labels unit ${folder})
  # The threaded code also runs under ThreadSanitizer.
  if(folder IN_LIST GYRELLE_THREADED_TEST_FOLDERS)
    list(APPEND labels tsan)
  endif()
  gyrelle_add_gtest(${exe} "${labels}" 600)
endfunction()

# Suites that take minutes run as several ctest entries, each a GoogleTest
# shard of the same executable, so `ctest -j` spreads them over the cores.
set(GYRELLE_TEST_SHARDS
  test_render_e2e=8 test_render=4 test_dialog_e2e=4 test_export_models=4 test_dialog_save=4
  test_polyhedron=3 test_voronoi=3 test_poly_e2e=2 test_host_plugin=2 test_views=2 test_levels=6)

# Registers a GoogleTest executable with ctest, as one entry or as shards.
function(gyrelle_add_gtest exe labels timeout)
  set(shards 1)
  foreach(entry IN LISTS GYRELLE_TEST_SHARDS)
    if(entry MATCHES "^${exe}=([0-9]+)$")
      set(shards ${CMAKE_MATCH_1})
    endif()
  endforeach()
  if(shards EQUAL 1)
    add_test(NAME ${exe} COMMAND ${exe} --gtest_brief=1)
    set_tests_properties(${exe} PROPERTIES LABELS "${labels}" TIMEOUT ${timeout})
    return()
  endif()
  math(EXPR last "${shards} - 1")
  foreach(i RANGE ${last})
    add_test(NAME ${exe}_${i} COMMAND ${exe} --gtest_brief=1)
    set_tests_properties(${exe}_${i} PROPERTIES LABELS "${labels}" TIMEOUT ${timeout}
      ENVIRONMENT "GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${i}")
  endforeach()
endfunction()
