# ziru_library(NAME SOURCES ... DEPS ...): one library target per folder,
# named ziru_NAME with the alias ziru::NAME. Headers are included as
# "NAME/header.h" relative to lib/ (or the install prefix's include/ziru).
function(ziru_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
    if(NOT ARG_SOURCES)
        # A folder whose sources are still to come: headers only.
        add_library(ziru_${name} INTERFACE)
        add_library(ziru::${name} ALIAS ziru_${name})
        target_include_directories(ziru_${name} INTERFACE
            $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/lib> $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
        target_link_libraries(ziru_${name} INTERFACE ${ARG_DEPS})
        return()
    endif()
    add_library(ziru_${name} STATIC ${ARG_SOURCES})
    add_library(ziru::${name} ALIAS ziru_${name})
    target_include_directories(ziru_${name} PUBLIC
        $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/lib>
        $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
        $<INSTALL_INTERFACE:include/ziru>)
    target_link_libraries(ziru_${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
    ziru_warnings(ziru_${name})
endfunction()

function(ziru_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
