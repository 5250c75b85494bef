# Run by cmake --install: writes the menu entry tacknote.desktop with the path of the
# installed program, which is known only now (the prefix can be chosen at install time,
# and packages install under their own). Expects tacknote_desktop_template.
set(program "${CMAKE_INSTALL_PREFIX}/bin/tacknote")
set(exec "${program}")
# The launcher splits Exec at blanks: a path with a blank or another reserved character
# is quoted, with a backslash before the characters that need one inside quotes.
if(exec MATCHES "[ \t\"'\\><~|&;$*?#()`]")
    string(REPLACE "\\" "\\\\" exec "${exec}")
    string(REPLACE "\"" "\\\"" exec "${exec}")
    string(REPLACE "`" "\\`" exec "${exec}")
    string(REPLACE "$" "\\$" exec "${exec}")
    set(exec "\"${exec}\"")
endif()
# The value of a desktop entry key escapes its backslashes; "%" starts a field code.
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")

file(READ "${tacknote_desktop_template}" entry)
string(REPLACE "@TACKNOTE_EXEC@" "${exec}" entry "${entry}")
set(target "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/tacknote.desktop")
message(STATUS "Installing: ${target}")
file(WRITE "${target}" "${entry}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_PREFIX}/share/applications/tacknote.desktop")
