# Runs the game with --help, --version, an unknown option and no display, and
# checks what each prints and returns. None may open a window: under the
# offscreen platform one would wait for ever, and the run would time out.
# cmake -DGAME=<wrigglet> -DVERSION=<x.y.z> -P command_line_test.cmake
set(offscreen ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen)
set(no_display ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb)
# name; environment; argument; exit status; what stdout must hold; what stderr must hold
set(cases
  "help|offscreen|--help|0|Usage: .*wrigglet.* \\[options\\] \\[file\\]|^$"
  "version without a display|no_display|--version|0|^Wrigglet ${VERSION}\n$|^$"
  "unknown option|offscreen|--bogus|2|^$|Unknown option 'bogus'"
  "no display|no_display|questions.csv|1|^$|^wrigglet: no display: DISPLAY is not set")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 name)
  list(GET fields 1 env)
  list(GET fields 2 argument)
  list(GET fields 3 status)
  list(GET fields 4 out)
  list(GET fields 5 err)
  execute_process(COMMAND ${${env}} ${GAME} ${argument} TIMEOUT 20
    RESULT_VARIABLE result OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
  # Qt's own notes on stderr (a runtime folder it made) are not the game's.
  string(REGEX REPLACE "QStandardPaths: [^\n]*\n" "" stderr "${stderr}")
  if(NOT result STREQUAL status OR NOT stdout MATCHES "${out}" OR NOT stderr MATCHES "${err}")
    message(FATAL_ERROR "${name}: exit ${result} (wanted ${status})\nstdout: ${stdout}\nstderr: ${stderr}")
  endif()
endforeach()
