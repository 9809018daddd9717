# `cpack -G DEB` in the build directory makes a Debian package: the programs
# in /opt/treld, which is their program directory (each finds its files
# beside itself), the systemd units (treld.service: one station beside the
# programs; treld@NAME.service: one per station in /var/lib/treld/NAME) and
# example settings. packaging/postinst creates the service's user.
install(TARGETS treld treld-station kirnal drovelin sts-sim RUNTIME DESTINATION opt/treld)
install(FILES ${PROJECT_SOURCE_DIR}/monitor/data/DEMOSET.CFG
              ${PROJECT_SOURCE_DIR}/calendar/langkirnal1.TXT
              ${PROJECT_SOURCE_DIR}/docs/operator-guide.md
        DESTINATION opt/treld)
install(FILES ${PROJECT_SOURCE_DIR}/monitor/data/sts.cfg DESTINATION opt/treld
        RENAME sts.cfg.example)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/mqtt.cfg.example
              ${PROJECT_SOURCE_DIR}/packaging/prometheus/treld-alerts.yml
        DESTINATION opt/treld)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/simulator/scenarios DESTINATION opt/treld)
install(DIRECTORY DESTINATION opt/treld/SERLOGS)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/treld.service ${PROJECT_SOURCE_DIR}/packaging/treld@.service
        DESTINATION lib/systemd/system)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/treld-example.default DESTINATION etc/default
        RENAME treld-example)

set(CPACK_PACKAGE_NAME treld)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "treld maintainers <treld@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Monitoring station for a static transfer switch, with calendar, mailer and simulator")
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "passwd")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${PROJECT_SOURCE_DIR}/packaging/postinst;${PROJECT_SOURCE_DIR}/packaging/prerm;${PROJECT_SOURCE_DIR}/packaging/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
