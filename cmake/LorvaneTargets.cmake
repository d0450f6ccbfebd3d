# Helpers shared by every folder's CMakeLists.

# lorvane_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [WEB] [XVFB] [SERIAL])
# One Qt Test executable per unit, registered with CTest.
#   WEB    the test drives Qt WebEngine: sandbox off, no GPU, run serially.
#   XVFB   the test needs a real X server: it runs under xvfb-run with the xcb platform.
#   SERIAL the test must not run beside others.
function(lorvane_add_test)
  cmake_parse_arguments(T "WEB;XVFB;SERIAL" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test lorvane_testsupport ${T_LIBS})
  set(env "QT_QPA_PLATFORM=offscreen" "LC_ALL=C.UTF-8")
  set(cmd $<TARGET_FILE:${T_NAME}>)
  if(T_XVFB)
    set(env "QT_QPA_PLATFORM=xcb" "LC_ALL=C.UTF-8")
    set(cmd xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:${T_NAME}>)
  endif()
  if(T_WEB)
    list(APPEND env "QTWEBENGINE_DISABLE_SANDBOX=1"
         "QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu --disable-background-networking --no-proxy-server")
  endif()
  add_test(NAME ${T_NAME} COMMAND ${cmd})
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}")
  if(T_WEB OR T_XVFB OR T_SERIAL)
    set_tests_properties(${T_NAME} PROPERTIES RUN_SERIAL TRUE)
  endif()
  if(T_TIMEOUT)
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  else()
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# lorvane_shared_library(<name> [INCLUDE_BASE <dir>] SOURCES ...) builds a shared library
# with a generated export header <name_lower>_export.h. Without INCLUDE_BASE its users
# include its headers by file name; with it they name the library's folder under <dir>
# (#include <pellora/coolbutton.h>), and only the library itself sees its folder directly.
function(lorvane_shared_library name)
  cmake_parse_arguments(L "" "INCLUDE_BASE" "SOURCES" ${ARGN})
  add_library(${name} SHARED ${L_SOURCES})
  string(TOLOWER ${name} lower)
  generate_export_header(${name} BASE_NAME ${name} EXPORT_FILE_NAME ${CMAKE_CURRENT_BINARY_DIR}/${lower}_export.h)
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_BINARY_DIR})
  if(L_INCLUDE_BASE)
    target_include_directories(${name} PUBLIC ${L_INCLUDE_BASE} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  else()
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
endfunction()
