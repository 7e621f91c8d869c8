# ostra_add_gtest(<name> SOURCES ... LIBS ... [NO_QT_MAIN])
# One GoogleTest executable; its cases are registered with CTest one by one.
function(ostra_add_gtest name)
    cmake_parse_arguments(T "NO_QT_MAIN" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    # Where the program, modsim and the libraries are built (tests run from another folder).
    target_compile_definitions(${name} PRIVATE OSTRA_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
    if(T_NO_QT_MAIN)
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
    else()
        target_link_libraries(${name} PRIVATE ${T_LIBS} ostra_testmain GTest::gmock GTest::gtest)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES
            TIMEOUT 300
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
