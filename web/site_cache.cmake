# Writes the service worker from its template: the site's files to keep, and a cache name
# made from their contents, so that any change to any of them brings a new cache.
# cmake -DSITE=folder -DFILES="a;b" -DTEMPLATE=sw.js.in -DOUTPUT=sw.js -P site_cache.cmake
set(listing "")
set(quoted "'./'")
foreach(file IN LISTS FILES)
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND listing "${file} ${hash}\n")
  string(APPEND quoted ", '${file}'")
endforeach()
string(SHA256 hash "${listing}")
string(SUBSTRING ${hash} 0 16 TRELVANE_SITE_HASH)
set(TRELVANE_SITE_FILES ${quoted})
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
