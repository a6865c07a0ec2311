# Installs the build ZIRU_BUILD_DIR into a fresh prefix under ZIRU_WORK_DIR,
# then builds the example host program in a folder of its own against the
# installed copy, once with find_package(ziru) and once with pkg-config, and
# runs it from the assets folder with scripted input: a command key, the
# scale-lock key, a right click, then Escape. Fails on any step's failure,
# a non-zero exit or a missing reaction.
cmake_minimum_required(VERSION 3.25)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
    endif()
    set(RUN_OUTPUT "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${ZIRU_WORK_DIR}/prefix)
set(host ${ZIRU_WORK_DIR}/host)
file(REMOVE_RECURSE ${ZIRU_WORK_DIR})
file(MAKE_DIRECTORY ${host})

# ===== Install ==============================================================
run(${CMAKE_COMMAND} --install ${ZIRU_BUILD_DIR} --prefix ${prefix})
set(inc ${ZIRU_INCLUDEDIR}/ziru)
set(lib ${ZIRU_LIBDIR})
foreach(file ${inc}/window/window.h ${inc}/platform/win.h ${inc}/effects/flame/flame.h
             ${inc}/texture/tga_texture.h ${lib}/cmake/ziru/ziruConfig.cmake
             ${lib}/cmake/ziru/ziruConfigVersion.cmake ${lib}/cmake/ziru/ziruTargets.cmake
             ${lib}/pkgconfig/ziru.pc)
    if(NOT EXISTS ${prefix}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
foreach(name platform runtime window render texture effects flame buttons)
    if(NOT EXISTS ${prefix}/${lib}/libziru_${name}.a)
        message(FATAL_ERROR "not installed: libziru_${name}.a")
    endif()
endforeach()
# Nothing but the library: no programs, no tests.
file(GLOB extras ${prefix}/bin/* ${prefix}/${lib}/libziru_app*)
if(extras)
    message(FATAL_ERROR "installed beyond the library: ${extras}")
endif()

# ===== A host program with find_package ======================================
set(flags "")
if(ZIRU_SANITIZE)
    set(flags "-fsanitize=${ZIRU_SANITIZE}")
endif()
file(WRITE ${host}/CMakeLists.txt "
cmake_minimum_required(VERSION 3.25)
project(host LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
find_package(ziru 0.1 REQUIRED)
add_executable(host_flame ${ZIRU_SOURCE_DIR}/examples/host/host_flame.cpp)
target_link_libraries(host_flame PRIVATE ziru::flame ziru::texture ziru::window)
")
run(${CMAKE_COMMAND} -S ${host} -B ${host}/build -G ${ZIRU_GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${ZIRU_CXX_COMPILER}
    -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS=${flags}" "-DCMAKE_EXE_LINKER_FLAGS=${flags}")
run(${CMAKE_COMMAND} --build ${host}/build)

# ===== The same program with pkg-config ======================================
find_program(PKG_CONFIG pkg-config REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${prefix}/${lib}/pkgconfig)
run(${PKG_CONFIG} --cflags --libs ziru)
string(STRIP "${RUN_OUTPUT}" pc_flags)
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
separate_arguments(san_flags UNIX_COMMAND "${flags}")
run(${ZIRU_CXX_COMPILER} -std=c++20 ${san_flags} ${ZIRU_SOURCE_DIR}/examples/host/host_flame.cpp
    -o ${host}/host_flame_pc ${pc_flags})

# ===== Run both from the assets folder =======================================
# Up (0x26) posts a WM_COMMAND, L (0x4C) toggles the scale lock, a right
# click posts WM_CONTEXTMENU; Escape (0x1B) ends the program.
set(ENV{SDL_VIDEODRIVER} offscreen)
set(ENV{ZIRU_TEST_EVENTS} "5:key:0x26;10:key:0x4C;15:down:R,100,100;16:up:R,100,100;40:key:0x1B")
foreach(program ${host}/build/host_flame ${host}/host_flame_pc)
    execute_process(COMMAND ${program} WORKING_DIRECTORY ${ZIRU_SOURCE_DIR}/assets
        RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${program} ended with ${rc}\n${out}\n${err}")
    endif()
    foreach(expected "length 2.5 | sway 0.25 | scale lock on" "sway 0.50 | scale lock on"
                     "sway 0.50 | scale lock off" "length 4.0 | sway 0.50 | scale lock off")
        string(FIND "${out}" "${expected}" at)
        if(at EQUAL -1)
            message(FATAL_ERROR "${program}: no \"${expected}\" in its output:\n${out}\n${err}")
        endif()
    endforeach()
endforeach()
file(REMOVE_RECURSE ${ZIRU_WORK_DIR})
message(STATUS "installed library builds and runs a host program")
