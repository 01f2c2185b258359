# The Windows installer, built on Linux with wixl (msitools) from share/windows/tessomar.wxs.in.
# The upgrade code never changes: it is how a newer installer finds the installed one. The
# product code is made from it and the version, so that every build of one version is the
# same product, and another version is another product, which the newer one replaces.
set(TESSOMAR_UPGRADE_CODE A5CB006F-0349-4A1A-80F1-CD6923A3F64E)
find_program(WIXL wixl REQUIRED)

# tessomar_windows_installer(TARGET MSI VERSION [ALL]): the target that builds MSI, the
# installer of this build's tessomar.exe with that product version (at most three numbers).
function(tessomar_windows_installer target msi version)
    set(TESSOMAR_MSI_VERSION ${version})
    string(UUID TESSOMAR_PRODUCT_CODE NAMESPACE ${TESSOMAR_UPGRADE_CODE} NAME "Tessomar ${version}"
           TYPE SHA1 UPPER)
    # wixl takes only paths relative to the source's folder.
    set(icon ${PROJECT_SOURCE_DIR}/share/windows/tessomar.ico)
    get_target_property(program_folder tessomar BINARY_DIR)
    file(RELATIVE_PATH TESSOMAR_ICON ${CMAKE_CURRENT_BINARY_DIR} ${icon})
    file(RELATIVE_PATH TESSOMAR_PROGRAM ${CMAKE_CURRENT_BINARY_DIR} ${program_folder}/tessomar.exe)
    set(source ${CMAKE_CURRENT_BINARY_DIR}/${target}.wxs)
    configure_file(${PROJECT_SOURCE_DIR}/share/windows/tessomar.wxs.in ${source} @ONLY)
    add_custom_command(
        OUTPUT ${msi}
        COMMAND ${WIXL} --arch x64 --output ${msi} ${source}
        DEPENDS ${source} tessomar ${icon}
        COMMENT "Building the Windows installer ${msi}"
        VERBATIM)
    add_custom_target(${target} ${ARGN} DEPENDS ${msi})
endfunction()
