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
        ziru_install(ziru_${name} ${name})
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
    ziru_install(ziru_${name} ${name})
endfunction()

# ziru_install(TARGET NAME): TARGET joins the installed package as
# ziru::NAME (the same name as its alias inside this tree). The headers are
# installed once for the whole tree (see the top-level CMakeLists.txt).
function(ziru_install target name)
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${name})
    if(ZIRU_INSTALL)
        install(TARGETS ${target} EXPORT ziruTargets
            ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
            INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ziru)
    endif()
endfunction()

function(ziru_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
