cmake_policy(SET CMP0057 NEW)
# Fails when an executable imports a DLL outside the system set or an entry
# point that Windows XP lacks.  Run as: cmake -DOBJDUMP=... -DEXE=... -P this
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${EXE}")
endif()

set(allowed kernel32.dll user32.dll gdi32.dll shell32.dll shlwapi.dll gdiplus.dll
    msvcrt.dll advapi32.dll ole32.dll oleaut32.dll comctl32.dll winmm.dll)
# Present on Vista and later only; Wine has them, XP does not.
set(vista_only GetTickCount64 InitializeSRWLock AcquireSRWLockExclusive
    AcquireSRWLockShared ReleaseSRWLockExclusive ReleaseSRWLockShared
    TryAcquireSRWLockExclusive InitializeConditionVariable SleepConditionVariableCS
    SleepConditionVariableSRW WakeConditionVariable WakeAllConditionVariable
    InitOnceExecuteOnce InitOnceBeginInitialize InitOnceComplete
    InitializeCriticalSectionEx CreateEventExW CreateMutexExW
    GetFileInformationByHandleEx SetFileInformationByHandle
    FlsAlloc FlsFree FlsGetValue FlsSetValue)

string(REPLACE "\n" ";" lines "${dump}")
set(dlls "")
set(bad "")
set(current_dll "")
foreach(line IN LISTS lines)
  if(line MATCHES "DLL Name: (.+)$")
    string(STRIP "${CMAKE_MATCH_1}" current_dll)
    string(TOLOWER "${current_dll}" current_dll)
    list(APPEND dlls ${current_dll})
    if(NOT current_dll IN_LIST allowed)
      list(APPEND bad "DLL ${current_dll}")
    endif()
  elseif(line MATCHES "^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+([A-Za-z_][A-Za-z0-9_@]*)")
    set(name ${CMAKE_MATCH_1})
    if(name IN_LIST vista_only)
      list(APPEND bad "${current_dll}!${name} (Vista and later)")
    endif()
    # XP's msvcrt has none of the bounds-checked _s functions.
    if(current_dll STREQUAL "msvcrt.dll" AND name MATCHES "_s$")
      list(APPEND bad "msvcrt.dll!${name} (not in XP's msvcrt)")
    endif()
  endif()
endforeach()

if(NOT dlls)
  message(FATAL_ERROR "${EXE}: no imports found; objdump output not understood")
endif()
if(bad)
  string(REPLACE ";" "\n  " bad_text "${bad}")
  message(FATAL_ERROR "${EXE} imports what it must not:\n  ${bad_text}")
endif()
list(REMOVE_DUPLICATES dlls)
string(REPLACE ";" " " dll_text "${dlls}")
message(STATUS "imports ok: ${dll_text}")
