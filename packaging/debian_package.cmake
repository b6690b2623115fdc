# SPDX-License-Identifier: GPL-2.0-or-later
# CPack's Debian package: pelmora_<version>_amd64.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelmora)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Pelmora developers <maintainers@pelmora.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no library dependency names them: the Japanese
# face of the windows, TIFF and WebP readers, a face for metafile
# symbol text, and faces with the widths of the common Windows ones, so
# metafile text runs as long as it did where it was recorded.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-image-formats-plugins, fonts-symbola, fonts-liberation2, fonts-crosextra-carlito, fonts-crosextra-caladea")
# Qt's own dialogs in Japanese, and the faces that fill Symbola's gaps.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-opensymbol")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shadow images: outline or fill the subject of a picture")
file(READ ${CMAKE_CURRENT_LIST_DIR}/description.txt CPACK_DEBIAN_PACKAGE_DESCRIPTION)
include(CPack)
