# The fuzz bodies and their seeds, as one library. The fuzzers (fuzz/CMakeLists.txt) and the
# test that replays the seeds and the kept inputs (tests/reliability) both link it.
if(NOT TARGET qk_fuzzziele)
    add_library(qk_fuzzziele STATIC
        ${CMAKE_CURRENT_LIST_DIR}/ziele/gemeinsam.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ziele/idmap.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ziele/bookdata.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ziele/rueckgaengig.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ziele/libpaths.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ziele/textzeilen.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ziele/ansi.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ziele/indexname.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ziele/zahlen.cpp
    )
    target_include_directories(qk_fuzzziele PUBLIC ${CMAKE_CURRENT_LIST_DIR}
        PRIVATE ${CMAKE_SOURCE_DIR}/tests/bookdata ${CMAKE_SOURCE_DIR}/tests/idmap)
    target_link_libraries(qk_fuzzziele PUBLIC qk_core)
endif()
