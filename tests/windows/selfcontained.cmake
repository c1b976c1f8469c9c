# A Windows program that runs from one file: it imports only DLLs that every Windows has (no Qt, no
# C++ or GCC runtime, no thread library beside it), and asks for the subsystem it should.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${EXECUTABLE} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
if(failed OR NOT imports)
    message(FATAL_ERROR "objdump could not list the DLLs of ${EXECUTABLE}")
endif()
set(system_dlls advapi32 authz bcrypt comdlg32 crypt32 d3d11 d3d9 dwmapi dxgi gdi32 imm32 iphlpapi kernel32 msvcrt
    netapi32 ole32 oleaut32 secur32 shcore shell32 shlwapi user32 userenv uxtheme version winhttp winmm ws2_32
    wtsapi32)
foreach(import IN LISTS imports)
    string(REGEX REPLACE "^DLL Name: (.+)\\.[dD][lL][lL]$" "\\1" dll "${import}")
    string(TOLOWER "${dll}" dll)
    if(NOT dll IN_LIST system_dlls AND NOT dll MATCHES "^api-ms-win-")
        message(FATAL_ERROR "${EXECUTABLE} needs ${dll}.dll, which is not part of Windows:\n${imports}")
    endif()
endforeach()
string(REGEX MATCH "Subsystem[\t ]+0*([0-9]+)" subsystem "${headers}")
if(NOT CMAKE_MATCH_1 EQUAL SUBSYSTEM)
    message(FATAL_ERROR "${EXECUTABLE} has subsystem ${CMAKE_MATCH_1}, not ${SUBSYSTEM}")
endif()
message(STATUS "${EXECUTABLE}: subsystem ${SUBSYSTEM}, imports ${imports}")
