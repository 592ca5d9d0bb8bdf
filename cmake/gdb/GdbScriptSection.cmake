# zarqlang_gdb_script_section(SCRIPT OUTPUT NAME): writes OUTPUT, a C++ source
# whose only content is the Python script SCRIPT as an inline script of the
# .debug_gdb_scripts section, named NAME there. gdb runs such a script when it
# loads the object that holds the section (when auto-load safe-path allows
# that object's directory), wherever the object has been installed, copied or
# moved to. The section is not loaded into memory and, as its name says, it
# travels with the debug information: strip moves it into a separate debug
# file along with the rest.
#
# The section holds entries of a kind byte (4: Python text) and a
# NUL-terminated text whose first line is the script's name. gdb runs a name
# once per program, so NAME must be the script's own.
function(zarqlang_gdb_script_section script output name)
  file(READ "${script}" _zq_text)
  if(_zq_text MATCHES "[^\n -~]")
    message(FATAL_ERROR "${script}: only printable ASCII can go into the section")
  endif()
  # One .ascii directive a line, with the assembler's string escapes: a
  # backslash and a quote.
  string(REPLACE "\\" "\\\\" _zq_text "${_zq_text}")
  string(REPLACE "\"" "\\\"" _zq_text "${_zq_text}")
  string(REGEX REPLACE "\n$" "" _zq_text "${_zq_text}")
  string(REPLACE "\n" "\\n\"\n  .ascii \"" _zq_text "${_zq_text}")
  set(_zq_asm "  .pushsection \".debug_gdb_scripts\", \"MS\", %progbits, 1\n  .byte 4\n")
  string(APPEND _zq_asm "  .ascii \"${name}\\n\"\n  .ascii \"${_zq_text}\\n\"\n")
  string(APPEND _zq_asm "  .byte 0\n  .popsection\n")
  # Written only when it changes, so that a new configure rebuilds nothing.
  file(CONFIGURE OUTPUT "${output}" CONTENT
"// Generated from @script@ by cmake/gdb/GdbScriptSection.cmake.
asm(R\"zq(
@_zq_asm@)zq\");
" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${script}")
endfunction()
