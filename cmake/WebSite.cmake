# Run after each link of the game for the page (cmake -P, with SOURCE and SITE): the page
# and its service worker learn the build's version, a hash of the script, the wasm and the
# data, under which the worker caches them together; the page learns the size of the wasm
# and the data, for its loading bar.
foreach(file velmora.js velmora.wasm velmora.data)
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND hashes ${hash})
endforeach()
string(SHA256 version "${hashes}")
string(SUBSTRING ${version} 0 16 VELMORA_BUILD)
file(SIZE ${SITE}/velmora.wasm wasm_bytes)
file(SIZE ${SITE}/velmora.data data_bytes)
math(EXPR VELMORA_DOWNLOAD_BYTES "${wasm_bytes} + ${data_bytes}")
configure_file(${SOURCE}/web/index.html ${SITE}/index.html @ONLY)
configure_file(${SOURCE}/web/service-worker.js ${SITE}/service-worker.js @ONLY)
