# The polkit action of the repair helper. Its exec.path must name the helper where it is
# installed, which `cmake --install --prefix` may move away from the configured prefix: the
# policy is written at install time, from the prefix in force then.
set(brindlewick_policy_in ${PROJECT_SOURCE_DIR}/resources/polkit/org.brindlewick.repair.policy.in)
set(brindlewick_policy ${PROJECT_BINARY_DIR}/polkit/org.brindlewick.repair.policy)
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBEXECDIR}")
  set(brindlewick_helper_dir "${CMAKE_INSTALL_LIBEXECDIR}/brindlewick")
else()
  set(brindlewick_helper_dir "\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBEXECDIR}/brindlewick")
endif()
install(CODE "
  set(BRINDLEWICK_HELPER_PATH \"${brindlewick_helper_dir}/brindlewick-repair\")
  configure_file(\"${brindlewick_policy_in}\" \"${brindlewick_policy}\" @ONLY)
")
install(FILES ${brindlewick_policy} DESTINATION ${CMAKE_INSTALL_DATADIR}/polkit-1/actions)
