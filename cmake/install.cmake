# Where `cmake --install` and CPack put the game: the binary (app/), the
# launcher, the icons, the AppStream data and the sample questions, in their
# XDG places under the install prefix.
if(NOT TARGET wrigglet)
  return()
endif()

include(GNUInstallDirs)

set(WRIGGLET_APP_ID io.github.wrigglet.Wrigglet)
set(WRIGGLET_QUESTIONS_DIR ${CMAKE_INSTALL_DATADIR}/wrigglet/questions)

file(GLOB WRIGGLET_SAMPLE_QUESTIONS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/questions/*.csv)
install(FILES ${WRIGGLET_SAMPLE_QUESTIONS} DESTINATION ${WRIGGLET_QUESTIONS_DIR})

if(NOT UNIX OR APPLE)
  return()
endif()

# The file chooser opens in the working directory, so the launcher starts the
# game in the sample folder, as scripts/run.sh does. The folder depends on the
# prefix given at install time (cmake --install --prefix, CPack's /usr), so
# the launcher is written then, not when configuring.
set(WRIGGLET_DESKTOP_IN ${PROJECT_SOURCE_DIR}/res/${WRIGGLET_APP_ID}.desktop)
set(WRIGGLET_DESKTOP_OUT ${PROJECT_BINARY_DIR}/install/${WRIGGLET_APP_ID}.desktop)
install(CODE "
  set(questions \"${WRIGGLET_QUESTIONS_DIR}\")
  if(NOT IS_ABSOLUTE \"\${questions}\")
    set(questions \"\${CMAKE_INSTALL_PREFIX}/\${questions}\")
  endif()
  file(READ \"${WRIGGLET_DESKTOP_IN}\" entry)
  string(STRIP \"\${entry}\" entry)
  file(WRITE \"${WRIGGLET_DESKTOP_OUT}\" \"\${entry}\\nPath=\${questions}\\n\")
")
install(FILES ${WRIGGLET_DESKTOP_OUT} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

install(FILES ${PROJECT_SOURCE_DIR}/res/${WRIGGLET_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(size 16 32 48 256)
  install(FILES ${PROJECT_SOURCE_DIR}/res/icon_${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${WRIGGLET_APP_ID}.png)
endforeach()
