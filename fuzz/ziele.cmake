# The fuzz bodies and their seeds, as one library that the fuzzers (fuzz/CMakeLists.txt) and the
# test replaying the seeds and the kept inputs (tests/reliability) both link.
if(NOT TARGET qk_fuzzziele)
    add_library(qk_fuzzziele STATIC ${CMAKE_CURRENT_LIST_DIR}/ziele.cpp)
    target_include_directories(qk_fuzzziele PUBLIC ${CMAKE_CURRENT_LIST_DIR} PRIVATE
        ${CMAKE_SOURCE_DIR}/tests/bookdata ${CMAKE_SOURCE_DIR}/tests/idmap)
    target_link_libraries(qk_fuzzziele PUBLIC qk_core)
    # A fuzz build without the tests compiles their platform here.
    if(TARGET qk_testsupport)
        target_link_libraries(qk_fuzzziele PRIVATE qk_testsupport)
    else()
        target_sources(qk_fuzzziele PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/test_plattform.cpp)
        target_include_directories(qk_fuzzziele PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
    endif()
endif()
