# Compile and link flags as Debian builds its packages (dpkg-buildflags): stack protector,
# _FORTIFY_SOURCE, format checks, full RELRO and PIE. On by default where dpkg-buildflags is
# found, so the program run by the tests is the one the package ships; the sanitizer builds
# leave them out (_FORTIFY_SOURCE and the sanitizers check the same calls).
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(DPKG_BUILDFLAGS AND NOT VELMORA_SANITIZE AND NOT VELMORA_FUZZ)
    set(velmora_dpkg_default ON)
else()
    set(velmora_dpkg_default OFF)
endif()
option(VELMORA_DPKG_BUILDFLAGS "Build with the flags of dpkg-buildflags" ${velmora_dpkg_default})

if(VELMORA_DPKG_BUILDFLAGS)
    if(NOT DPKG_BUILDFLAGS)
        message(FATAL_ERROR "VELMORA_DPKG_BUILDFLAGS is on but dpkg-buildflags was not found")
    endif()
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        # Run from the source folder: its path is then mapped to "." in the debug
        # information, which keeps builds in different folders alike.
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${DPKG_BUILDFLAGS} --get ${kind}
            WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
            OUTPUT_VARIABLE velmora_${kind}
            OUTPUT_STRIP_TRAILING_WHITESPACE
            COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    # The build type keeps its own optimisation and debug choice.
    separate_arguments(velmora_CXXFLAGS UNIX_COMMAND "${velmora_CXXFLAGS}")
    list(FILTER velmora_CXXFLAGS EXCLUDE REGEX "^(-O.*|-g)$")
    list(JOIN velmora_CXXFLAGS " " velmora_CXXFLAGS)
    string(APPEND CMAKE_CXX_FLAGS " ${velmora_CPPFLAGS} ${velmora_CXXFLAGS}")
    string(APPEND CMAKE_EXE_LINKER_FLAGS " ${velmora_LDFLAGS}")
    string(APPEND CMAKE_SHARED_LINKER_FLAGS " ${velmora_LDFLAGS}")
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    include(CheckPIESupported)
    check_pie_supported()
endif()
