# Man pages and the changelog are installed gzipped, as Debian keeps them.
# SOURCE is configured into the build folder as NAME (@PROJECT_VERSION@ becomes
# the version) and compressed there at configure time, without a name or a
# timestamp in the gzip header, so that the same source gives the same bytes.
function(install_gzipped source name destination)
  set(configured ${CMAKE_CURRENT_BINARY_DIR}/${name})
  configure_file(${source} ${configured} @ONLY)
  execute_process(COMMAND gzip -9nkf ${configured} COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${configured}.gz DESTINATION ${destination})
endfunction()
