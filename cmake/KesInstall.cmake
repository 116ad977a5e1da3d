# Installs the library, its headers (with their folders) and a CMake package, so that a host
# application can find_package(KesAttributes) and link KesAttributes::KesAttributes (and
# KesAttributes::Tools for the session driver and the picture). The Qt view, when built, is the
# component Qt: find_package(KesAttributes COMPONENTS Qt) and KesAttributes::Qt.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS kesattributes kesattributes_tools EXPORT KesAttributesTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The Qt view has an export set of its own, loaded by the package only when asked for; its
# public headers are KES_QT_HEADERS (set by qt/).
if(TARGET kesattributes_qt)
    install(TARGETS kesattributes_qt EXPORT KesAttributesQtTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

foreach(header IN LISTS KES_HEADERS KES_TOOLS_HEADERS KES_QT_HEADERS)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${header})
    get_filename_component(folder ${relative} DIRECTORY)
    install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kesattributes/${folder})
endforeach()

# The widget texts are built into the library; the files are installed for hosts that read,
# translate or reword them (a file in KES_RESOURCE_DIR overrides the built-in texts).
set(KES_RESOURCE_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/kes)
install(FILES ${KES_RESOURCE_FILES} DESTINATION ${KES_RESOURCE_INSTALL_DIR})

# What a library user reads: the README, the panel and values file formats and their schemas.
set(KES_DOC_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/doc/KesAttributes)
file(GLOB KES_DOC_FILES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/docs/*.md ${PROJECT_SOURCE_DIR}/docs/*.schema.json)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${KES_DOC_FILES}
    DESTINATION ${KES_DOC_INSTALL_DIR})

set(KES_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/KesAttributes)
install(EXPORT KesAttributesTargets
    NAMESPACE KesAttributes::
    DESTINATION ${KES_CONFIG_DIR})
if(TARGET kesattributes_qt)
    install(EXPORT KesAttributesQtTargets
        NAMESPACE KesAttributes::
        DESTINATION ${KES_CONFIG_DIR})
endif()
configure_package_config_file(cmake/KesAttributesConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/KesAttributesConfig.cmake
    INSTALL_DESTINATION ${KES_CONFIG_DIR}
    PATH_VARS KES_RESOURCE_INSTALL_DIR KES_DOC_INSTALL_DIR)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/KesAttributesConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/KesAttributesConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/KesAttributesConfigVersion.cmake
    DESTINATION ${KES_CONFIG_DIR})
