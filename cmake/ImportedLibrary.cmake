# SPDX-License-Identifier: GPL-2.0-or-later
# pelmora_import_library(<target> <library name> <header>)
# Wraps a C library that ships neither CMake nor pkg-config files (libUEMF and
# potrace on Debian 12) into an imported target.
function(pelmora_import_library target name header)
  find_library(${name}_LIBRARY ${name} REQUIRED)
  find_path(${name}_INCLUDE_DIR ${header} REQUIRED)
  add_library(${target} UNKNOWN IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION ${${name}_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${${name}_INCLUDE_DIR})
endfunction()
