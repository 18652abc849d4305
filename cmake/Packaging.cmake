# The Debian package: `cpack -G DEB` in the build folder after a build.
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR Mervale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quorvane Developers <developers@quorvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "administration tool for name servers and their zone files")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# libcurl and libgit2 are loaded at run time rather than linked, so the scan of the linked libraries does not see
# them: the packages holding the ones this build was made against are named here.
set(run_time_packages)
foreach(library IN LISTS CURL_LIBRARIES LIBGIT2_LINK_LIBRARIES)
    file(REAL_PATH "${library}" real_library)
    execute_process(COMMAND dpkg-query -S "${real_library}" OUTPUT_VARIABLE owner RESULT_VARIABLE status ERROR_QUIET)
    if(status EQUAL 0)
        string(REGEX MATCH "^[^:,]+" owner "${owner}")
        list(APPEND run_time_packages "${owner}")
    endif()
endforeach()
list(JOIN run_time_packages ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# The name server's checkers, rndc and dig are called at run time; the name server itself only when Quorvane
# starts one of its own.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bind9-utils, bind9-dnsutils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bind9, publicsuffix")
# CPack puts the summary above this text as the synopsis line.
set(CPACK_PACKAGE_DESCRIPTION "Quorvane keeps name servers driven by a boot file and plain-text zone files:
it creates and edits primary zones, declares secondary zones, generates the
reverse zones, exports the configuration for BIND 9 and controls the name
server, backs up and restores, and runs finger, WHOIS, zone listing, ping
and trace route. quorvane-cli offers the same operations from a shell.")

include(CPack)
