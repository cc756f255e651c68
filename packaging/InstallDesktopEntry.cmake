# Runs at install time: writes the desktop entry with the game's absolute path under
# the prefix actually chosen (cmake --install --prefix), so the entry works in any prefix,
# not only in one on PATH. Expects VELMORA_DESKTOP_TEMPLATE, VELMORA_DESKTOP_STAGING and
# VELMORA_INSTALL_GAMESDIR.
set(game "${CMAKE_INSTALL_PREFIX}/${VELMORA_INSTALL_GAMESDIR}/velmora")

# A desktop entry's Exec needs quoting around characters the shell-like parser would
# split or expand; inside quotes ", `, $ and \ take a backslash, and every backslash of
# the value is doubled again by the string escaping of the file format.
if(game MATCHES "^[A-Za-z0-9/._+-]+$")
  set(VELMORA_DESKTOP_EXEC "${game}")
else()
  string(REPLACE "\\" "\\\\" quoted "${game}")
  string(REPLACE "\"" "\\\"" quoted "${quoted}")
  string(REPLACE "`" "\\`" quoted "${quoted}")
  string(REPLACE "$" "\\$" quoted "${quoted}")
  string(REPLACE "\\" "\\\\" quoted "${quoted}")
  set(VELMORA_DESKTOP_EXEC "\"${quoted}\"")
endif()

configure_file("${VELMORA_DESKTOP_TEMPLATE}" "${VELMORA_DESKTOP_STAGING}/velmora.desktop" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE
     FILES "${VELMORA_DESKTOP_STAGING}/velmora.desktop")
