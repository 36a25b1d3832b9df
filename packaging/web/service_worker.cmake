# Writes the web build's service worker (cmake -P): the cache is named by a digest of every file
# it keeps, so each build with any change has a cache of its own.
#   cmake -DFOLDER=build-web -DFILES="index.html;..." -DTEMPLATE=service-worker.js.in
#         -DOUTPUT=build-web/service-worker.js -P service_worker.cmake
set(digests "")
set(quoted "")
foreach(file IN LISTS FILES)
    file(SHA256 "${FOLDER}/${file}" digest)
    string(APPEND digests "${file} ${digest}\n")
    list(APPEND quoted "'${file}'")
endforeach()
string(SHA256 build "${digests}")
string(SUBSTRING "${build}" 0 16 SKIDDLEWICK_BUILD_ID)
list(JOIN quoted ", " SKIDDLEWICK_CACHED_FILES)
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
