# The fuzz bodies and their seeds, as one library. The fuzzers (fuzz/CMakeLists.txt) and the
# test that replays the seeds and the kept inputs (tests/reliability) both link it.
if(NOT TARGET qk_fuzzziele)
    add_library(qk_fuzzziele STATIC
        ${CMAKE_CURRENT_LIST_DIR}/ziele/gemeinsam.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ziele/idmap.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ziele/bookdata.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ziele/listen.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ziele/textzeilen.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ziele/ansi.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ziele/eingaben.cpp
    )
    target_include_directories(qk_fuzzziele PUBLIC ${CMAKE_CURRENT_LIST_DIR}
        PRIVATE ${CMAKE_SOURCE_DIR}/tests/bookdata ${CMAKE_SOURCE_DIR}/tests/idmap)
    target_link_libraries(qk_fuzzziele PUBLIC qk_core)
    # The bodies answer message boxes with the tests' platform (Cancel or No, every message
    # kept); a fuzz build without the tests compiles it here.
    if(TARGET qk_testsupport)
        target_link_libraries(qk_fuzzziele PRIVATE qk_testsupport)
    else()
        target_sources(qk_fuzzziele PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/test_plattform.cpp)
        target_include_directories(qk_fuzzziele PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
    endif()
endif()
