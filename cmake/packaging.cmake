# The Debian package (scripts/package): what `cmake --install` puts in place, under /usr. Its
# dependencies are computed by dpkg-shlibdeps from the libraries the program links, so they
# follow the build rather than a hand-kept list.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessomar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tessomar developers")
set(CPACK_PACKAGE_CONTACT "The Tessomar developers <developers@tessomar.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "encipher or decipher one file with a password")
set(CPACK_PACKAGE_DESCRIPTION "\
Tessomar enciphers or deciphers one file with a password, in a single small
window. One operation serves both directions: run it over a plain file to get
an enciphered copy, and run it with the same password over that copy to get
the plain file back. The source is never changed and the result is written
next to it under a new name.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tessomar.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
