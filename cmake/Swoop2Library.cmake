# swoop2_layer(NAME DEPENDENCY...): a static library of every .cpp below the folder.
# Sources are found by glob so that adding a file needs no edit of a shared list.
function(swoop2_layer name)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT sources MATCHES "\\.cpp")
        set(placeholder ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
        file(WRITE ${placeholder} "// This layer has no code yet.\n")
        list(APPEND sources ${placeholder})
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN} PRIVATE swoop2_warnings)
endfunction()
