# The Win32 side: the player, its pane libraries, the platform stand-ins,
# resources, Win32 tests and tools. Everything lands in bin/ so that Wine
# finds the libraries next to the programs that import them.
set(CMAKE_EXECUTABLE_SUFFIX ".exe")
set(TSL_BIN ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${TSL_BIN})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${TSL_BIN})
find_program(WRC wrc PATHS /usr/lib/wine REQUIRED)
find_program(WINEBUILD winebuild PATHS /usr/lib/wine REQUIRED)

# Resources made at build time by generators built with the host compiler
# (wineg++ would make programs that need Wine to run): the player's own
# cursor, and the bitmap scroll bar's pictures.
find_program(TSL_HOST_CXX NAMES g++ c++ REQUIRED)
set(TSL_GEN ${CMAKE_BINARY_DIR}/gen)
set(TSL_CURGEN ${TSL_GEN}/curgen)
add_custom_command(OUTPUT ${TSL_CURGEN}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TSL_GEN}
  COMMAND ${TSL_HOST_CXX} -std=c++17 -O1 -o ${TSL_CURGEN} ${CMAKE_SOURCE_DIR}/tools/core/curgen.cpp
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/core/curgen.cpp VERBATIM)
set(TSL_CURSOR ${TSL_GEN}/tsl_move.cur)
add_custom_command(OUTPUT ${TSL_CURSOR} COMMAND ${TSL_CURGEN} ${TSL_CURSOR} DEPENDS ${TSL_CURGEN} VERBATIM)
set(TSL_BMPGEN ${TSL_GEN}/bmpgen)
set(TSL_SCROLLER_BMPS)
foreach(n SCR_1 SCR_2 SCR_3 THUMB_1 THUMB_2 THUMB_3 THUMB_4 THUMB_5 THUMB_6 THUMB_7 THUMB_8 THUMB_9 THUMB_10)
  list(APPEND TSL_SCROLLER_BMPS ${TSL_GEN}/IDB_${n}.bmp)
endforeach()
foreach(n FOLDER_CLOSED1 FOLDER_OPEN1 FOLDER_CLOSED2 FOLDER_OPEN2 DATAITEM1)
  list(APPEND TSL_SCROLLER_BMPS ${TSL_GEN}/TREELIST_${n}.bmp)
endforeach()
set(TSL_MEDIA_BMPS)
foreach(n MCI_WAVE MCI_MIDI MCI_CD MCIBAR_SMALL MCIBAR_LARGE)
  list(APPEND TSL_MEDIA_BMPS ${TSL_GEN}/IDB_${n}.bmp)
endforeach()
list(APPEND TSL_SCROLLER_BMPS ${TSL_GEN}/IDB_BROWSE.bmp)
add_custom_command(OUTPUT ${TSL_SCROLLER_BMPS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TSL_GEN}
  COMMAND ${TSL_HOST_CXX} -std=c++17 -O1 -I${CMAKE_SOURCE_DIR} -o ${TSL_BMPGEN} ${CMAKE_SOURCE_DIR}/tools/core/bmpgen.cpp
  COMMAND ${TSL_BMPGEN} --scroller ${TSL_GEN}
  COMMAND ${TSL_BMPGEN} --treelist ${TSL_GEN}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/core/bmpgen.cpp ${CMAKE_SOURCE_DIR}/tools/core/bmpgen.h
          ${CMAKE_SOURCE_DIR}/tools/core/scrollerbmp.h ${CMAKE_SOURCE_DIR}/tools/core/treelistbmp.h ${CMAKE_SOURCE_DIR}/tools/core/browsebmp.h VERBATIM)
add_custom_command(OUTPUT ${TSL_MEDIA_BMPS}
  COMMAND ${TSL_BMPGEN} --media ${TSL_GEN}
  DEPENDS ${TSL_SCROLLER_BMPS} ${CMAKE_SOURCE_DIR}/tools/core/mediabmp.h ${CMAKE_SOURCE_DIR}/objects/core/mcibardata.h
  VERBATIM)
# The overview's slide mounts (DIANORMAL_1 .. 20).
set(TSL_DIAFRAME_BMPS)
foreach(n RANGE 1 20)
  list(APPEND TSL_DIAFRAME_BMPS ${TSL_GEN}/DIANORMAL_${n}.bmp)
endforeach()
add_custom_command(OUTPUT ${TSL_DIAFRAME_BMPS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TSL_GEN}
  COMMAND ${TSL_HOST_CXX} -std=c++17 -O1 -I${CMAKE_SOURCE_DIR} -o ${TSL_GEN}/diaframegen ${CMAKE_SOURCE_DIR}/tools/core/bmpgen.cpp
  COMMAND ${TSL_GEN}/diaframegen --diaframes ${TSL_GEN}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/core/bmpgen.cpp ${CMAKE_SOURCE_DIR}/tools/core/bmpgen.h
          ${CMAKE_SOURCE_DIR}/tools/core/diaframes.h VERBATIM)
set(TSL_SYMBOLGEN ${TSL_GEN}/symbolgen)
set(TSL_SYMBOL_BMPS ${TSL_GEN}/BMP_CONT_SYMBOL.bmp)
add_custom_command(OUTPUT ${TSL_SYMBOL_BMPS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TSL_GEN}
  COMMAND ${TSL_HOST_CXX} -std=c++17 -O1 -I${CMAKE_SOURCE_DIR} -o ${TSL_SYMBOLGEN} ${CMAKE_SOURCE_DIR}/tools/core/symbolgen.cpp
  COMMAND ${TSL_SYMBOLGEN} ${TSL_GEN}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/core/symbolgen.cpp ${CMAKE_SOURCE_DIR}/tools/core/bmpgen.h VERBATIM)

# Resources: the German string table (code page 1252), dialogs, menus, icons,
# cursors, the scroll bar's and the media kinds' pictures.
file(GLOB TSL_RC_DEPS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*)
set(TSL_RES ${CMAKE_BINARY_DIR}/tslplay32.res)
add_custom_command(OUTPUT ${TSL_RES}
  COMMAND ${WRC} -I${CMAKE_SOURCE_DIR}/resources -I${CMAKE_SOURCE_DIR} -I${TSL_GEN} -o ${TSL_RES} ${CMAKE_SOURCE_DIR}/resources/tslplay32.rc
  DEPENDS ${TSL_RC_DEPS} ${TSL_CURSOR} ${TSL_SCROLLER_BMPS} ${TSL_MEDIA_BMPS} ${TSL_DIAFRAME_BMPS} ${TSL_SYMBOL_BMPS} VERBATIM)
add_custom_target(tslres DEPENDS ${TSL_RES})

# A winelib DLL with its exports from a .spec file, and the import library
# that lets programs link it at load time. The import names the module
# "<name>.dll.so", which is how Wine finds a winelib DLL beside the program.
function(tsl_winelib_dll name spec)
  add_library(${name} SHARED ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll")
  target_link_options(${name} PRIVATE -shared ${spec})
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${spec})
  if(NOT TSL_DLL_IMPLIB)
    return()
  endif()
  set(implib ${CMAKE_BINARY_DIR}/implib/lib${name}.a)
  add_custom_command(OUTPUT ${implib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/implib
    COMMAND ${WINEBUILD} -w --implib -o ${implib} -F ${name}.dll.so --export ${spec}
    DEPENDS ${spec} VERBATIM)
  add_custom_target(${name}_implib DEPENDS ${implib})
  add_dependencies(${name} ${name}_implib)
endfunction()

# Win32 sources: every .cpp of a subsystem folder outside core/, except the
# program entry and the separately built libraries.
set(TSL_WIN_SOURCES)
foreach(sub ${TSL_SUBSYSTEMS})
  file(GLOB_RECURSE s CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${sub}/*.cpp)
  list(FILTER s EXCLUDE REGEX "/core/")
  list(APPEND TSL_WIN_SOURCES ${s})
endforeach()
list(FILTER TSL_WIN_SOURCES EXCLUDE REGEX "/engine/winmain\\.cpp$")
list(FILTER TSL_WIN_SOURCES EXCLUDE REGEX "/platform/mppane/")
list(FILTER TSL_WIN_SOURCES EXCLUDE REGEX "/platform/dspane/")
list(FILTER TSL_WIN_SOURCES EXCLUDE REGEX "/platform/swfpane/")
list(FILTER TSL_WIN_SOURCES EXCLUDE REGEX "/platform/qtml/")

# Our movie layer over quartz: linked into mvpane and into the player (the
# DirectShow panes share its player), so built position-independent.
file(GLOB TSL_QTML_SRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/qtml/*.cpp
     ${CMAKE_SOURCE_DIR}/platform/qtml/core/*.cpp)
add_library(tslqtml STATIC ${TSL_QTML_SRC})
set_target_properties(tslqtml PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_include_directories(tslqtml PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(tslqtml PRIVATE ${TSL_WARN})
target_link_libraries(tslqtml PUBLIC -lstrmiids -lole32 -luuid -luser32 -lgdi32)

add_library(tslwin STATIC ${TSL_WIN_SOURCES})
target_include_directories(tslwin PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(tslwin PRIVATE ${TSL_WARN})
target_link_libraries(tslwin PUBLIC tslcore tslqtml)
set(TSL_WIN_SYSLIBS -lcomctl32 -lcomdlg32 -lshell32 -lole32 -loleaut32 -luuid
    -lwinmm -lmsvfw32 -ladvapi32 -lgdi32 -luser32 -lversion -lwinspool)
target_link_libraries(tslwin PUBLIC ${TSL_WIN_SYSLIBS})

# Libraries: mvpane (linked at load time), webpane (loaded at run time),
# and our stand-ins for the outside mppane, dspane and swfpane libraries.
# mvpane's window and movie objects are a library of their own, so that
# tests run them over a movie layer of their own.
add_library(tslmvpane STATIC ${CMAKE_SOURCE_DIR}/panes/mvpane/moviewnd.cpp)
set_target_properties(tslmvpane PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_include_directories(tslmvpane PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(tslmvpane PRIVATE ${TSL_WARN})
target_link_libraries(tslmvpane PUBLIC tslqtml)
set(MVPANE_SRC ${CMAKE_SOURCE_DIR}/panes/mvpane/mvpane.cpp)
# webpane's elements are a library of their own, so that tests run them over
# a recording browser control; the DLL adds the exports and its own copy of
# the message-box service.
add_library(tslwebpane STATIC ${CMAKE_SOURCE_DIR}/panes/webpane/browserpane.cpp)
set_target_properties(tslwebpane PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_include_directories(tslwebpane PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(tslwebpane PRIVATE ${TSL_WARN})
target_link_libraries(tslwebpane PUBLIC -latl -lole32 -loleaut32 -luuid -luser32)
set(WEBPANE_SRC ${CMAKE_SOURCE_DIR}/panes/webpane/webpane.cpp ${CMAKE_SOURCE_DIR}/platform/owl/uiservice.cpp)
file(GLOB MPPANE_SRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/mppane/*.cpp)
file(GLOB DSPANE_SRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/dspane/*.cpp)
# swfpane carries its own copy of the portable header reader and frame
# counter (the core library is not built position-independent).
file(GLOB SWFPANE_SRC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/swfpane/*.cpp
     ${CMAKE_SOURCE_DIR}/platform/swfpane/core/*.cpp)
set(TSL_DLL_IMPLIB ON)
tsl_winelib_dll(mvpane ${CMAKE_SOURCE_DIR}/panes/mvpane/mvpane.spec ${MVPANE_SRC})
tsl_winelib_dll(mppane ${CMAKE_SOURCE_DIR}/platform/mppane/mppane.spec ${MPPANE_SRC})
tsl_winelib_dll(dspane ${CMAKE_SOURCE_DIR}/platform/dspane/dspane.spec ${DSPANE_SRC})
tsl_winelib_dll(swfpane ${CMAKE_SOURCE_DIR}/platform/swfpane/swfpane.spec ${SWFPANE_SRC})
set(TSL_DLL_IMPLIB OFF)  # webpane is loaded at run time, never imported
tsl_winelib_dll(webpane ${CMAKE_SOURCE_DIR}/panes/webpane/webpane.spec ${WEBPANE_SRC})
foreach(l mvpane webpane mppane dspane swfpane)
  target_include_directories(${l} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${l} PRIVATE ${TSL_WARN})
  target_link_libraries(${l} PRIVATE ${TSL_WIN_SYSLIBS})
endforeach()
target_link_libraries(mvpane PRIVATE tslmvpane)
target_link_libraries(webpane PRIVATE tslwebpane)
# The player loads webpane by its path, "webpane.dll" beside the program;
# Wine loads a winelib library under that name as well (a file that is no
# PE image is opened as a Unix library).
add_custom_command(TARGET webpane POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE_DIR:webpane>/webpane.dll.so $<TARGET_FILE_DIR:webpane>/webpane.dll
  VERBATIM)
# The DirectShow panes play through the movie layer's quartz player.
target_link_libraries(mppane PRIVATE tslqtml)
target_link_libraries(dspane PRIVATE tslqtml)
target_link_libraries(swfpane PRIVATE ZLIB::ZLIB)

# Links a program or test against the libraries the player imports.
function(tsl_link_player target)
  add_dependencies(${target} tslres mvpane mppane dspane swfpane webpane mvpane_implib mppane_implib dspane_implib
                   swfpane_implib)
  # Import libraries go after the objects, where the linker still needs them.
  # tslwin calls into them as well, so they follow it once more.
  target_link_libraries(${target} PRIVATE ${TSL_RES} -L${CMAKE_BINARY_DIR}/implib -lmvpane -lmppane -ldspane -lswfpane
                        tslwin -lmvpane -lmppane -ldspane -lswfpane)
endfunction()

add_executable(tslplay32 ${CMAKE_SOURCE_DIR}/engine/winmain.cpp)
target_link_options(tslplay32 PRIVATE -mwindows)
# The program's own exports (write_JPEG_file).
target_link_options(tslplay32 PRIVATE ${CMAKE_SOURCE_DIR}/cmake/tslplay32.spec)
set_property(TARGET tslplay32 APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/tslplay32.spec)
tsl_link_player(tslplay32)

# Win32 tests: tests/<dir>/*_wintest.cpp, one binary per folder, run under
# Wine (and Xvfb) by scripts/wine-run.sh. Include tests/wintest.h, not
# gtest.h, so gtest takes its POSIX branches under winelib.
tsl_test_groups("*_wintest.cpp" TSL_WIN_TEST_DIRS)
foreach(dir ${TSL_WIN_TEST_DIRS})
  file(GLOB t CONFIGURE_DEPENDS ${dir}/*_wintest.cpp)
  tsl_test_name(${dir} win name)
  add_executable(${name} ${t} $<TARGET_OBJECTS:tslwineexit>)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  # Test code at -O1: gtest's expansions compile a sixth faster than at -O2.
  target_compile_options(${name} PRIVATE ${TSL_WARN} ${TSL_TEST_UNIT} -O1)
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
  target_link_options(${name} PRIVATE -mconsole)
  target_link_libraries(${name} PRIVATE tsldesc GTest::gtest GTest::gtest_main)
  tsl_link_player(${name})
  add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh $<TARGET_FILE:${name}>.so)
  # Window tests share one display and read pixels back from the screen:
  # one at a time, or their windows cover each other.
  set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
endforeach()
# The movie pane's tests run its objects over a fake movie layer.
if(TARGET win_panes_mvpane_tests)
  target_link_libraries(win_panes_mvpane_tests PRIVATE tslmvpane)
endif()
# The browser pane's tests run its elements in process; they and the
# browser object's tests answer the browser on a loopback socket.
if(TARGET win_panes_webpane_tests)
  target_link_libraries(win_panes_webpane_tests PRIVATE tslwebpane)
endif()
foreach(t win_panes_webpane_tests win_objects_ie_tests)
  if(TARGET ${t})
    target_sources(${t} PRIVATE ${CMAKE_SOURCE_DIR}/tests/loopbackserver.cpp)
    set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/loopbackserver.cpp PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
    target_link_libraries(${t} PRIVATE -latl)
  endif()
endforeach()
# The loader's test of a missing export: a webpane without WEBP_Print, in
# a folder of its own.
if(TARGET win_objects_ieloader_tests)
  set(TSL_DLL_IMPLIB OFF)
  tsl_winelib_dll(webpanestub ${CMAKE_SOURCE_DIR}/tests/objects/ieloader/stub/webpanestub.spec
                  ${CMAKE_SOURCE_DIR}/tests/objects/ieloader/stub/webpanestub.cpp)
  set_target_properties(webpanestub PROPERTIES OUTPUT_NAME webpane LIBRARY_OUTPUT_DIRECTORY ${TSL_BIN}/webpanestub)
  add_custom_command(TARGET webpanestub POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy ${TSL_BIN}/webpanestub/webpane.dll.so ${TSL_BIN}/webpanestub/webpane.dll VERBATIM)
  add_dependencies(win_objects_ieloader_tests webpanestub)
endif()
# The icon dialog's test reads a resource-only library of three icons
# (ImageMagick pictures, wrc, and winebuild's PE image, which the shell's
# icon extraction reads from disk) beside the test program.
if(TARGET win_slideshow_diaconfig_tests)
  find_program(TSL_CONVERT convert REQUIRED)
  set(icons ${CMAKE_BINARY_DIR}/gen/icons3)
  set(iconsrc ${CMAKE_SOURCE_DIR}/tests/slideshow/diaconfig)
  add_custom_command(OUTPUT ${TSL_BIN}/icons3.dll
    COMMAND ${CMAKE_COMMAND} -E make_directory ${icons}
    COMMAND ${TSL_CONVERT} -size 32x32 xc:red ${icons}/red.ico
    COMMAND ${TSL_CONVERT} -size 32x32 xc:lime ${icons}/green.ico
    COMMAND ${TSL_CONVERT} -size 32x32 xc:blue ${icons}/blue.ico
    COMMAND ${WRC} -I${icons} -o ${icons}/icons3.res ${iconsrc}/icons3.rc
    COMMAND ${WINEBUILD} --dll --fake-module -m64 -E ${iconsrc}/icons3.spec -F icons3.dll
            -o ${TSL_BIN}/icons3.dll ${icons}/icons3.res
    DEPENDS ${iconsrc}/icons3.rc ${iconsrc}/icons3.spec VERBATIM)
  add_custom_target(icons3 DEPENDS ${TSL_BIN}/icons3.dll)
  add_dependencies(win_slideshow_diaconfig_tests icons3)
endif()

# Win32 benchmarks: bench/<name>_winbench.cpp, built by the target winbench
# and run by hand under Wine and Xvfb.
find_package(benchmark QUIET)
file(GLOB TSL_WIN_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_winbench.cpp)
if(benchmark_FOUND)
  foreach(src ${TSL_WIN_BENCHES})
    get_filename_component(n ${src} NAME_WE)
    add_executable(${n} ${src})
    target_include_directories(${n} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_options(${n} PRIVATE -mconsole)
    # The page fixtures of the tests report through gtest.
    target_link_libraries(${n} PRIVATE tsldesc benchmark::benchmark GTest::gtest)
    tsl_link_player(${n})
    # Built on demand: cmake --build build/wine --target winbench.
    set_target_properties(${n} PROPERTIES EXCLUDE_FROM_ALL ON)
    list(APPEND TSL_WINBENCH_TARGETS ${n})
  endforeach()
  add_custom_target(winbench DEPENDS ${TSL_WINBENCH_TARGETS})
endif()

# Win32 tools: tools/win/<name>.cpp, one console program each.
file(GLOB TSL_WIN_TOOLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/win/*.cpp)
foreach(src ${TSL_WIN_TOOLS})
  get_filename_component(n ${src} NAME_WE)
  add_executable(${n} ${src})
  target_include_directories(${n} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_options(${n} PRIVATE -mconsole)
  target_link_libraries(${n} PRIVATE ${TSL_WIN_SYSLIBS})
endforeach()
# The action codes' and the unpacking player tests start the stand-in
# program that logs its command line.
foreach(t win_actions_player_tests win_actions_unpack_tests)
  if(TARGET ${t})
    add_dependencies(${t} cmdlog)
  endif()
endforeach()

# The player end to end: starts on the demo project (make demo writes it),
# shows its window under Xvfb, takes a screenshot and ends on WM_CLOSE.
get_filename_component(TSL_BUILD_ROOT ${CMAKE_BINARY_DIR} DIRECTORY)
add_test(NAME smoke_player COMMAND ${CMAKE_SOURCE_DIR}/scripts/smoke.sh
         ${TSL_BUILD_ROOT}/demo/demo.crt ${CMAKE_BINARY_DIR}/smoke_player.png)
set_tests_properties(smoke_player PROPERTIES ENVIRONMENT BUILD=${TSL_BUILD_ROOT} TIMEOUT 120)

# Its window shares the display like the window tests': it runs alone too.
set_tests_properties(smoke_player PROPERTIES RUN_SERIAL TRUE)

# The print tests print on a real printer: cups-pdf as the CUPS default,
# set up before them (cupsd started when none runs) and let go after them.
if(TARGET win_actions_print_tests)
  add_test(NAME printer_start COMMAND ${CMAKE_SOURCE_DIR}/scripts/printer.sh start ${CMAKE_BINARY_DIR})
  add_test(NAME printer_stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/printer.sh stop ${CMAKE_BINARY_DIR})
  set_tests_properties(printer_start PROPERTIES FIXTURES_SETUP printer TIMEOUT 90)
  set_tests_properties(printer_stop PROPERTIES FIXTURES_CLEANUP printer TIMEOUT 60)
  set_tests_properties(win_actions_print_tests PROPERTIES FIXTURES_REQUIRED printer
                       ENVIRONMENT "TSL_PRINTER_SCRIPT=${CMAKE_SOURCE_DIR}/scripts/printer.sh")
endif()
