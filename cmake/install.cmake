# Where `cmake --install` and CPack put the game: the binary, the launcher,
# the icons, the AppStream data, the manual page, the licence and the sample
# questions, in their usual places under the install prefix. Debian keeps
# games in /usr/games: scripts/package.sh gives -DCMAKE_INSTALL_BINDIR=games.
if(NOT TARGET wrigglet)
  return()
endif()

include(GNUInstallDirs)

set(WRIGGLET_APP_ID io.github.wrigglet.Wrigglet)
set(WRIGGLET_QUESTIONS_DIR ${CMAKE_INSTALL_DATADIR}/wrigglet/questions)
set(WRIGGLET_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/wrigglet)
set(WRIGGLET_GENERATED ${PROJECT_BINARY_DIR}/install)

install(TARGETS wrigglet RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

file(GLOB WRIGGLET_SAMPLE_QUESTIONS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/questions/*.csv)
install(FILES ${WRIGGLET_SAMPLE_QUESTIONS} DESTINATION ${WRIGGLET_QUESTIONS_DIR})

if(NOT UNIX OR APPLE)
  return()
endif()

# The launcher names the binary by its full path, since /usr/games or a
# home prefix need not be on the session's PATH, and starts the game in the
# sample folder, where the file chooser opens (as scripts/run.sh does). Both
# depend on the prefix given at install time (cmake --install --prefix,
# CPack's /usr), so the launcher is written then, not when configuring.
set(WRIGGLET_DESKTOP_IN ${PROJECT_SOURCE_DIR}/res/${WRIGGLET_APP_ID}.desktop)
install(CODE "
  set(bin \"${CMAKE_INSTALL_BINDIR}\")
  set(questions \"${WRIGGLET_QUESTIONS_DIR}\")
  foreach(dir bin questions)
    if(NOT IS_ABSOLUTE \"\${\${dir}}\")
      set(\${dir} \"\${CMAKE_INSTALL_PREFIX}/\${\${dir}}\")
    endif()
  endforeach()
  file(READ \"${WRIGGLET_DESKTOP_IN}\" entry)
  string(REPLACE \"\\nExec=wrigglet \" \"\\nExec=\${bin}/wrigglet \" entry \"\${entry}\")
  string(STRIP \"\${entry}\" entry)
  file(WRITE \"${WRIGGLET_GENERATED}/${WRIGGLET_APP_ID}.desktop\" \"\${entry}\\nPath=\${questions}\\n\")
")
install(FILES ${WRIGGLET_GENERATED}/${WRIGGLET_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

install(FILES ${PROJECT_SOURCE_DIR}/res/${WRIGGLET_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(size 16 32 48 256)
  install(FILES ${PROJECT_SOURCE_DIR}/res/icon_${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${WRIGGLET_APP_ID}.png)
endforeach()

# The manual page and the changelog go compressed, as Debian wants them:
# gzip -9n leaves no time stamp, so a rebuild gives the same bytes. The
# licence becomes a machine-readable copyright file.
file(STRINGS ${PROJECT_SOURCE_DIR}/cmake/deb/changelog WRIGGLET_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT WRIGGLET_CHANGELOG_TOP MATCHES "^wrigglet \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "cmake/deb/changelog must begin with version ${PROJECT_VERSION}")
endif()
install(CODE "
  foreach(page wrigglet.6 cmake/deb/changelog)
    get_filename_component(name \${page} NAME)
    execute_process(COMMAND gzip -9nc \"${PROJECT_SOURCE_DIR}/\${page}\"
      OUTPUT_FILE \"${WRIGGLET_GENERATED}/\${name}.gz\" COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  file(READ \"${PROJECT_SOURCE_DIR}/LICENSE\" licence)
  string(STRIP \"\${licence}\" licence)
  string(REGEX MATCH \"Copyright \\\\(c\\\\) ([^\\n]*)\" notice \"\${licence}\")
  set(holders \"\${CMAKE_MATCH_1}\")
  string(REGEX REPLACE \"\\n\\n\" \"\\n.\\n\" licence \"\${licence}\")
  string(REGEX REPLACE \"\\n\" \"\\n \" licence \"\${licence}\")
  file(WRITE \"${WRIGGLET_GENERATED}/copyright\" \"\\
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Wrigglet

Files: *
Copyright: \${holders}
License: Expat
 \${licence}\n\")
")
install(FILES ${WRIGGLET_GENERATED}/wrigglet.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${WRIGGLET_GENERATED}/changelog.gz ${WRIGGLET_GENERATED}/copyright
  DESTINATION ${WRIGGLET_DOC_DIR})

# Debian's layout (games in games/): no compiler notes in the binary, as
# Debian's own strip leaves it, and lintian is told why the samples are not
# UTF-8.
if(CMAKE_INSTALL_BINDIR STREQUAL "games")
  install(CODE "execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/games/wrigglet\" COMMAND_ERROR_IS_FATAL ANY)")
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/deb/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME wrigglet)
endif()
