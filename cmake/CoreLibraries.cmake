# Libraries that must stay free of the widget stack, so that they run on worker threads and
# in tests without a window. velmora_require_core_only(<target>) checks, once every folder
# is read, that nothing the target links (directly or through other targets) is QtGui,
# QtWidgets, QtUiTools or QtPrintSupport, and stops the configuration when something is.

set(VELMORA_GUI_LIBRARY_PATTERN
    "^Qt[0-9]*::(Gui|Widgets|UiTools|PrintSupport)$|libQt[0-9]*(Gui|Widgets|UiTools|PrintSupport)")

function(_velmora_find_gui_link target chain result)
    get_property(seen GLOBAL PROPERTY _VELMORA_CORE_CHECK_SEEN)
    if(target IN_LIST seen)
        set(${result} "" PARENT_SCOPE)
        return()
    endif()
    set_property(GLOBAL APPEND PROPERTY _VELMORA_CORE_CHECK_SEEN ${target})

    get_target_property(imported ${target} IMPORTED)
    set(links)
    if(NOT imported)
        get_target_property(direct ${target} LINK_LIBRARIES)
        if(direct)
            list(APPEND links ${direct})
        endif()
    endif()
    get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
    if(interface)
        list(APPEND links ${interface})
    endif()

    foreach(item IN LISTS links)
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" item "${item}")
        if(item MATCHES "\\$<")
            continue()
        endif()
        if(item MATCHES "${VELMORA_GUI_LIBRARY_PATTERN}")
            set(${result} "${chain} -> ${item}" PARENT_SCOPE)
            return()
        endif()
        if(TARGET ${item})
            _velmora_find_gui_link(${item} "${chain} -> ${item}" found)
            if(found)
                set(${result} "${found}" PARENT_SCOPE)
                return()
            endif()
        endif()
    endforeach()
    set(${result} "" PARENT_SCOPE)
endfunction()

function(_velmora_check_core_only target)
    set_property(GLOBAL PROPERTY _VELMORA_CORE_CHECK_SEEN "")
    _velmora_find_gui_link(${target} ${target} found)
    if(found)
        message(FATAL_ERROR "${target} must link QtCore only, but links a GUI library: ${found}")
    endif()
endfunction()

function(velmora_require_core_only target)
    set_property(GLOBAL APPEND PROPERTY VELMORA_CORE_LIBRARIES ${target})
endfunction()

function(_velmora_check_core_libraries)
    get_property(targets GLOBAL PROPERTY VELMORA_CORE_LIBRARIES)
    foreach(target IN LISTS targets)
        _velmora_check_core_only(${target})
    endforeach()
endfunction()

# Runs when the top folder (and so every folder below it) has been read.
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _velmora_check_core_libraries)
