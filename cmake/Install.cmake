# Installation: `cmake --install <build> --prefix P` lays the game out as
#   P/lib/velmora/      the executable with its data/ and Shader/ beside it
#   P/bin/velmora       a launcher that starts it in that folder
#   P/share/icons/hicolor/256x256/apps/velmora.png and P/share/applications/velmora.desktop
# The game reads every file relative to its working directory, so the three stay together
# and the launcher changes into their folder first.
set(VELMORA_INSTALL_BINDIR bin CACHE STRING "Where the launcher goes, relative to the prefix")
set(VELMORA_INSTALL_GAMEDIR lib/velmora CACHE STRING "Where the game and its files go, relative to the prefix")
set(VELMORA_ICON_SIZE 256)
set(VELMORA_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
set(VELMORA_ICON ${VELMORA_PACKAGING_DIR}/velmora.png)

# The icon is painted by our own small generator.
add_executable(velmora_icongen
  ${CMAKE_SOURCE_DIR}/packaging/icon/main.cpp
  ${CMAKE_SOURCE_DIR}/packaging/icon/Canvas.cpp
  ${CMAKE_SOURCE_DIR}/packaging/icon/SpiderIcon.cpp)
target_link_libraries(velmora_icongen PRIVATE PkgConfig::STB)
# The .ico goes into the Windows build's program (windows/).
set(VELMORA_WINDOWS_ICON ${VELMORA_PACKAGING_DIR}/velmora.ico)
add_custom_command(
  OUTPUT ${VELMORA_ICON} ${VELMORA_WINDOWS_ICON}
  COMMAND velmora_icongen ${VELMORA_ICON} ${VELMORA_ICON_SIZE}
  COMMAND velmora_icongen ${VELMORA_WINDOWS_ICON}
  DEPENDS velmora_icongen
  COMMENT "Painting the application icon"
  VERBATIM)
add_custom_target(velmora_icon ALL DEPENDS ${VELMORA_ICON} ${VELMORA_WINDOWS_ICON})

# The launcher finds the game folder relative to itself, so the tree can be relocated.
file(RELATIVE_PATH VELMORA_GAME_DIR_FROM_BIN
     /prefix/${VELMORA_INSTALL_BINDIR} /prefix/${VELMORA_INSTALL_GAMEDIR})
configure_file(${CMAKE_SOURCE_DIR}/packaging/velmora.sh.in ${VELMORA_PACKAGING_DIR}/velmora @ONLY)

install(TARGETS velmora RUNTIME DESTINATION ${VELMORA_INSTALL_GAMEDIR})
install(DIRECTORY ${VELMORA_RUN_DIR}/data ${VELMORA_RUN_DIR}/Shader DESTINATION ${VELMORA_INSTALL_GAMEDIR})
install(PROGRAMS ${VELMORA_PACKAGING_DIR}/velmora DESTINATION ${VELMORA_INSTALL_BINDIR})
install(FILES ${VELMORA_ICON}
        DESTINATION share/icons/hicolor/${VELMORA_ICON_SIZE}x${VELMORA_ICON_SIZE}/apps)
install(CODE "
  set(VELMORA_DESKTOP_TEMPLATE \"${CMAKE_SOURCE_DIR}/packaging/velmora.desktop.in\")
  set(VELMORA_DESKTOP_STAGING \"${VELMORA_PACKAGING_DIR}/staging\")
  set(VELMORA_INSTALL_BINDIR \"${VELMORA_INSTALL_BINDIR}\")")
install(SCRIPT ${CMAKE_SOURCE_DIR}/packaging/InstallDesktopEntry.cmake)
