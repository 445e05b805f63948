# The Windows tests, cross-compiled and run under Wine (cmake/mingw-i686.cmake): the unit
# tests on the fakes and the tests of the platform/win32 back ends.

# Linux-only unit tests, left out here by file:
set(linux_only_tests
  # file modes, symbolic links, fifos and /dev/ paths of saved recordings
  recording/recording_file_test.cpp
  recording/executable_recording_test.cpp
  # the settings store's key file ($XDG_CONFIG_HOME) and its modes
  settings/settings_test.cpp
  # .reg files in the home folder through GLib, and folders without access rights
  app/backup_commands_test.cpp
  app/advanced_options_test.cpp)
list(TRANSFORM linux_only_tests PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
list(REMOVE_ITEM UNIT_TEST_SOURCES ${linux_only_tests})
add_executable(kelmor_unit_tests unit_main.cpp test_support.cpp ${UNIT_TEST_SOURCES})
target_link_libraries(kelmor_unit_tests PRIVATE ${KELMOR_FAKED_CORE} gtest)
# The help pages as built, checked against the topics the program opens; Wine shows the
# machine's root folder as drive Z:.
add_dependencies(kelmor_unit_tests kelmor_help)
string(REPLACE "/" "\\\\" build_dir_windows "Z:${CMAKE_BINARY_DIR}")
target_compile_definitions(kelmor_unit_tests PRIVATE "KELMOR_PROGRAM_IN_BUILD=\"${build_dir_windows}\\\\Kelmor.exe\"")

add_executable(kelmor_win32_tests ${KELMOR_WIN32_TESTS})
target_link_libraries(kelmor_win32_tests PRIVATE
                      "$<LINK_GROUP:RESCAN,${KELMOR_WIN32_LIBS},kelmor_win32_shell_message_box>" gtest_main)
add_dependencies(kelmor_win32_tests kelmor_service_dll)
target_compile_definitions(kelmor_win32_tests PRIVATE
                           "KELMOR_SERVICE_DLL=\"${build_dir_windows}\\\\KelmorService.DLL\"")

# The face's window parts that need no display, on the system's own menus.
add_executable(kelmor_win32gui_tests ${KELMOR_WIN32GUI_TESTS})
target_link_libraries(kelmor_win32gui_tests PRIVATE kelmor_win32gui
                      "$<LINK_GROUP:RESCAN,${KELMOR_WIN32_LIBS},kelmor_win32_shell_message_box>" gtest_main)

# The keyboard service typing a ShortType into a window of its own, on a display; the
# program sits beside the DLL, where the program finds it.
add_executable(kelmor_service_hook_probe platform/win32/service_hook_probe.cpp)
target_link_libraries(kelmor_service_hook_probe PRIVATE
                      "$<LINK_GROUP:RESCAN,${KELMOR_WIN32_LIBS},kelmor_win32_shell_message_box>")
set_target_properties(kelmor_service_hook_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(kelmor_service_hook_probe kelmor_service_dll)

# Each binary is one test: a Wine process costs far more than a test in it. Wine keeps its
# own prefix in the build folder, made once before the tests (its first start takes long),
# 32- or 64-bit as the build (KELMOR_WINE_ENV, from the toolchain file).
set(wine_env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= ${KELMOR_WINE_ENV})
add_test(NAME wine_prefix COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${KELMOR_WINE} wineboot --init)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300 LABELS wine)
# Unit tests of Linux behaviour, left out here by name:
set(KELMOR_LINUX_ONLY_CASES
  # the Linux reading of texts that name Windows-only things; Windows shows them as written
  PlatformWordingTest.*
  KeyboardProcTest.ActionsReachTheMainWindowAndALaunchFailureIsReportedWithoutAPlayback
  ScriptCommandsTest.FailedStartOrGotoPlaysOnOrStopsWithAWarningCaptionedByTheArgument
  PlaybackControlTest.TrayPlayStartsAContinuousPlaybackThatCountsPassesUntilCancelled
  ServiceControlTest.AMissingModuleOrEntryIsSaidAndTheProgramRunsOn
  # POSIX error numbers and their texts
  LogTest.LastErrorTextOrFallback
  # the help folder found from a program path with '/'
  HelpCommandsTest.HelpForThisScreenOpensTheTopicOfTheCurrentTab
  HelpCommandsTest.PagesAndAddressesOfTheHelpMenuAndWhatCannotBeOpened
  HelpCommandsTest.TheHelpGadgetsOpenTheirTopics)
list(JOIN KELMOR_LINUX_ONLY_CASES ":" linux_only_cases)
set(kelmor_unit_tests_args --gtest_filter=-${linux_only_cases})
set(kelmor_win32_tests_args)
set(kelmor_win32gui_tests_args)
foreach(binary kelmor_unit_tests kelmor_win32_tests kelmor_win32gui_tests)
  add_test(NAME ${binary} COMMAND ${binary} --gtest_brief=1 ${${binary}_args})
  set_tests_properties(${binary} PROPERTIES ENVIRONMENT "${wine_env}" FIXTURES_REQUIRED wine LABELS wine
                       TIMEOUT 600 RESOURCE_LOCK wine_input)
endforeach()
add_test(NAME kelmor_service_hook COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/with-xvfb ${KELMOR_WINE}
         $<TARGET_FILE:kelmor_service_hook_probe>)
add_test(NAME kelmor_service_hook_other_process COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/with-xvfb ${KELMOR_WINE}
         $<TARGET_FILE:kelmor_service_hook_probe> --other-process)
# One Wine prefix is one wineserver and one desktop, whose foreground window, hooks and
# injected input every program it runs shares, whatever its display: a program started
# beside a test that types takes the keys' window away from it. The Wine tests take turns.
set_tests_properties(kelmor_service_hook kelmor_service_hook_other_process PROPERTIES ENVIRONMENT "${wine_env}"
                     FIXTURES_REQUIRED wine LABELS wine TIMEOUT 120 RESOURCE_LOCK wine_input)

# Kelmor.exe as a person starts it, on a display of its own (Wine needs one): it types into
# Wine's notepad, plays as an executable recording and gives way to Ctrl+Esc.
add_test(NAME wine_play COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/with-xvfb --wm openbox
         ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_play.sh $<TARGET_FILE:kelmor_exe> "" ${CMAKE_SOURCE_DIR})
set_tests_properties(wine_play PROPERTIES ENVIRONMENT "${wine_env}" FIXTURES_REQUIRED wine LABELS wine
                     TIMEOUT 300 RESOURCE_LOCK wine_input)

# Kelmor.exe typing characters into notepad on a German layout, from a recording whose
# name is not ASCII.
add_test(NAME wine_layout COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/with-xvfb --wm openbox
         ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_layout.sh $<TARGET_FILE:kelmor_exe> "" ${CMAKE_SOURCE_DIR} ""
         "${KELMOR_SCREENSHOT_TOOL}" ${CMAKE_BINARY_DIR}/artefacts)
set_tests_properties(wine_layout PROPERTIES ENVIRONMENT "${wine_env}" FIXTURES_REQUIRED wine LABELS wine
                     TIMEOUT 300 RESOURCE_LOCK wine_input)

# kelmorctl.exe as a script runs it, beside Kelmor.exe, which its exe command copies.
add_test(NAME wine_kelmorctl COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/with-xvfb --wm openbox
         ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_kelmorctl.sh $<TARGET_FILE:kelmor_exe> $<TARGET_FILE:kelmorctl_exe>
         ${CMAKE_SOURCE_DIR})
set_tests_properties(wine_kelmorctl PROPERTIES ENVIRONMENT "${wine_env}" FIXTURES_REQUIRED wine LABELS wine
                     TIMEOUT 300 RESOURCE_LOCK wine_input)

# Recordings crossing platforms need the Linux programs too: scripts/test passes its Linux
# build. Without one the test says so and is skipped.
set(KELMOR_LINUX_BUILD "" CACHE PATH "A Linux build folder (kelmorctl, kelmor) for the tests across platforms")
# The Wine tests' screenshots are taken by that build's screenshot program, when there is one.
set(KELMOR_SCREENSHOT_TOOL "")
if(KELMOR_LINUX_BUILD AND EXISTS ${KELMOR_LINUX_BUILD}/tests/kelmor_screenshot)
  set(KELMOR_SCREENSHOT_TOOL ${KELMOR_LINUX_BUILD}/tests/kelmor_screenshot)
endif()
add_test(NAME wine_cross_platform COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/with-xvfb --wm openbox
         ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_cross_platform.sh $<TARGET_FILE:kelmor_exe>
         $<TARGET_FILE:kelmorctl_exe> ${CMAKE_SOURCE_DIR} "${KELMOR_LINUX_BUILD}")
set_tests_properties(wine_cross_platform PROPERTIES ENVIRONMENT "${wine_env}" FIXTURES_REQUIRED wine LABELS wine
                     TIMEOUT 300 RESOURCE_LOCK wine_input SKIP_RETURN_CODE 77)

# Kelmor.exe's window, driven as a person does: its editors, recorder and help, and its
# keyboard service in notepad. The Linux build's screenshot tool finds the gadgets and
# keeps the pictures; without one the test is skipped.
add_test(NAME wine_window COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/with-xvfb --wm openbox
         ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_window.sh $<TARGET_FILE:kelmor_exe> "" ${CMAKE_SOURCE_DIR} ""
         "${KELMOR_SCREENSHOT_TOOL}" ${CMAKE_BINARY_DIR}/artefacts)
set_tests_properties(wine_window PROPERTIES ENVIRONMENT "${wine_env}" FIXTURES_REQUIRED wine LABELS wine
                     TIMEOUT 300 RESOURCE_LOCK wine_input SKIP_RETURN_CODE 77)

# The three shipped binaries: only imports the oldest supported Windows has, the version
# resource, the manifest of each program, no debug sections.
add_test(NAME windows_binaries COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check_windows_binaries.sh ${CMAKE_OBJDUMP}
         ${PROJECT_VERSION} ${CMAKE_CURRENT_SOURCE_DIR}/windows_imports.list $<TARGET_FILE:kelmor_exe>
         $<TARGET_FILE:kelmorctl_exe> $<TARGET_FILE:kelmor_service_dll>)
set(debug_build 0)
if(CMAKE_BUILD_TYPE STREQUAL "Debug")
  set(debug_build 1)
endif()
set_tests_properties(windows_binaries PROPERTIES LABELS wine ENVIRONMENT KELMOR_DEBUG_BUILD=${debug_build})

# Kelmor.exe as a new user first meets it, installed in a folder with a blank: the usage
# box, the log in notepad, the quoted Auto-Start path and the help beside the program.
add_test(NAME wine_first_use COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/with-xvfb --wm openbox
         ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_first_use.sh $<TARGET_FILE:kelmor_exe> "" ${CMAKE_SOURCE_DIR} ""
         "${KELMOR_SCREENSHOT_TOOL}" ${CMAKE_BINARY_DIR}/artefacts)
set_tests_properties(wine_first_use PROPERTIES ENVIRONMENT "${wine_env}" FIXTURES_REQUIRED wine LABELS wine
                     TIMEOUT 300 RESOURCE_LOCK wine_input)

# The journal record hook through the seam, fed with real X input into a Wine window.
add_executable(kelmor_record_hook_probe platform/win32/record_hook_probe.cpp)
target_link_libraries(kelmor_record_hook_probe PRIVATE
                      "$<LINK_GROUP:RESCAN,kelmor_core,kelmor_headless_shell,kelmor_headless_hand_over,${KELMOR_WIN32_LIBS},\
kelmor_win32_shell_message_box>")
add_test(NAME wine_record COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/with-xvfb --wm openbox
         ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_record.sh $<TARGET_FILE:kelmor_record_hook_probe> "" ${CMAKE_SOURCE_DIR})
set_tests_properties(wine_record PROPERTIES ENVIRONMENT "${wine_env}" FIXTURES_REQUIRED wine LABELS wine
                     TIMEOUT 120 RESOURCE_LOCK wine_input)

# The dialogs of the Windows face built from the real descriptions of ui/ and driven with
# real X input: typing, clicking, tab pages, the spin arrows, the pointer hold, F1, Enter, Esc.
add_executable(kelmor_dialog_probe platform/win32gui/dialog_probe.cpp)
target_link_libraries(kelmor_dialog_probe PRIVATE
                      "$<LINK_GROUP:RESCAN,kelmor_core,kelmor_win32gui,${KELMOR_WIN32_LIBS},kelmor_win32_shell_message_box>")
add_test(NAME wine_dialog COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/with-xvfb --wm openbox
         ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_dialog.sh $<TARGET_FILE:kelmor_dialog_probe> "" ${CMAKE_SOURCE_DIR}
         "" "${KELMOR_SCREENSHOT_TOOL}" ${CMAKE_BINARY_DIR}/artefacts)
set_tests_properties(wine_dialog PROPERTIES ENVIRONMENT "${wine_env}" FIXTURES_REQUIRED wine LABELS wine
                     TIMEOUT 120 RESOURCE_LOCK wine_input)

# The scripts' `wine` is the build's Wine, KELMOR_WINE: for a 64-bit build Debian's `wine`
# would pick 32-bit Wine.
set(wine_bin ${CMAKE_BINARY_DIR}/wine-bin)
file(CONFIGURE OUTPUT ${wine_bin}/wine CONTENT "#!/bin/sh\nexec '${KELMOR_WINE}' \"$@\"\n")
file(CHMOD ${wine_bin}/wine PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
     WORLD_READ WORLD_EXECUTE)
get_property(wine_tests DIRECTORY PROPERTY TESTS)
set_tests_properties(${wine_tests} PROPERTIES ENVIRONMENT_MODIFICATION PATH=path_list_prepend:${wine_bin})
