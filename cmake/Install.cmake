# Installation: `cmake --install <build> --prefix P` lays the game out as Debian places games:
#   P/games/velmora                          the executable
#   P/share/games/velmora/{data,Shader}      its files, which it finds from its own place
#   P/share/applications, P/share/icons/hicolor/<size>/apps, P/share/metainfo,
#   P/share/man/man6, P/share/doc/velmora    desktop entry, icons, AppStream, manual, copyright
# The same tree, under /usr, is the Debian package: `cpack -G DEB --config build/CPackConfig.cmake`.
# (VELMORA_INSTALL_GAMESDIR and VELMORA_INSTALL_DATADIR are set in the top CMakeLists.txt.)
set(VELMORA_ICON_SIZES 16 24 32 48 64 128 256)
set(VELMORA_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
set(VELMORA_PACKAGING_SOURCE ${CMAKE_SOURCE_DIR}/packaging)

# The icon is painted by our own small generator, each size on its own.
add_executable(velmora_icongen
  ${VELMORA_PACKAGING_SOURCE}/icon/main.cpp
  ${VELMORA_PACKAGING_SOURCE}/icon/Canvas.cpp
  ${VELMORA_PACKAGING_SOURCE}/icon/SpiderIcon.cpp)
target_link_libraries(velmora_icongen PRIVATE PkgConfig::STB)
# The .ico goes into the Windows build's program (windows/).
set(VELMORA_WINDOWS_ICON ${VELMORA_PACKAGING_DIR}/velmora.ico)
set(icon_outputs ${VELMORA_WINDOWS_ICON})
set(icon_commands COMMAND velmora_icongen ${VELMORA_WINDOWS_ICON})
foreach(size ${VELMORA_ICON_SIZES})
  set(icon ${VELMORA_PACKAGING_DIR}/icons/${size}x${size}/velmora.png)
  file(MAKE_DIRECTORY ${VELMORA_PACKAGING_DIR}/icons/${size}x${size})
  list(APPEND icon_outputs ${icon})
  list(APPEND icon_commands COMMAND velmora_icongen ${icon} ${size})
  install(FILES ${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_command(OUTPUT ${icon_outputs} ${icon_commands}
  DEPENDS velmora_icongen COMMENT "Painting the application icons" VERBATIM)

# Debian wants the manual and the changelog compressed, without a time stamp.
set(VELMORA_MAN_PAGE ${VELMORA_PACKAGING_DIR}/velmora.6.gz)
set(VELMORA_CHANGELOG ${VELMORA_PACKAGING_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${VELMORA_MAN_PAGE} ${VELMORA_CHANGELOG}
  COMMAND sh -c "gzip -9n < '${VELMORA_PACKAGING_SOURCE}/velmora.6' > '${VELMORA_MAN_PAGE}'"
  COMMAND sh -c "gzip -9n < '${VELMORA_PACKAGING_SOURCE}/changelog' > '${VELMORA_CHANGELOG}'"
  DEPENDS ${VELMORA_PACKAGING_SOURCE}/velmora.6 ${VELMORA_PACKAGING_SOURCE}/changelog
  COMMENT "Compressing the manual and the changelog" VERBATIM)
add_custom_target(velmora_packaging_files ALL DEPENDS ${icon_outputs} ${VELMORA_MAN_PAGE} ${VELMORA_CHANGELOG})

install(TARGETS velmora RUNTIME DESTINATION ${VELMORA_INSTALL_GAMESDIR})
install(DIRECTORY ${VELMORA_RUN_DIR}/data ${VELMORA_RUN_DIR}/Shader DESTINATION ${VELMORA_INSTALL_DATADIR})
install(FILES ${VELMORA_MAN_PAGE} DESTINATION share/man/man6)
install(FILES ${VELMORA_PACKAGING_SOURCE}/org.velmora.Velmora.metainfo.xml DESTINATION share/metainfo)
install(FILES ${VELMORA_PACKAGING_SOURCE}/copyright ${VELMORA_CHANGELOG} DESTINATION share/doc/velmora)
install(CODE "
  set(VELMORA_DESKTOP_TEMPLATE \"${VELMORA_PACKAGING_SOURCE}/velmora.desktop.in\")
  set(VELMORA_DESKTOP_STAGING \"${VELMORA_PACKAGING_DIR}/staging\")
  set(VELMORA_INSTALL_GAMESDIR \"${VELMORA_INSTALL_GAMESDIR}\")")
install(SCRIPT ${VELMORA_PACKAGING_SOURCE}/InstallDesktopEntry.cmake)

# The Debian package: velmora_<version>_amd64.deb, Depends worked out by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Velmora developers <velmora@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "spider machine action game in a walled arena")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Velmora is a single-player 3D action game. You steer a spider machine
through a walled arena, shoot a thread that catches dragonflies and rolls
them into balls, swing on lifts and rope anchors, and throw the balls at a
sleeping boss until it breaks.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
