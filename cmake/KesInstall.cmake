# Installs the library, its headers (with their folders) and a CMake package, so that a host
# application can find_package(KesAttributes) and link KesAttributes::KesAttributes (and
# KesAttributes::Tools for the session driver and the picture).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS kesattributes kesattributes_tools EXPORT KesAttributesTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

foreach(header IN LISTS KES_HEADERS KES_TOOLS_HEADERS)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${header})
    get_filename_component(folder ${relative} DIRECTORY)
    install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kesattributes/${folder})
endforeach()

set(KES_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/KesAttributes)
install(EXPORT KesAttributesTargets
    NAMESPACE KesAttributes::
    DESTINATION ${KES_CONFIG_DIR})
configure_package_config_file(cmake/KesAttributesConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/KesAttributesConfig.cmake
    INSTALL_DESTINATION ${KES_CONFIG_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/KesAttributesConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/KesAttributesConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/KesAttributesConfigVersion.cmake
    DESTINATION ${KES_CONFIG_DIR})
