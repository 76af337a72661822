# Writes SITE/sw.js from TEMPLATE: the list of FILES to cache, and a cache name
# that changes whenever any of them does. FILES is comma-separated.
string(REPLACE "," ";" FILES "${FILES}")
set(hashes "")
set(list "")
foreach(file IN LISTS FILES)
    file(SHA256 ${SITE}/${file} hash)
    string(APPEND hashes ${hash})
    string(APPEND list "  '${file}',\n")
endforeach()
string(SHA256 VERSION "${hashes}")
string(SUBSTRING ${VERSION} 0 16 VERSION)
set(FILES "${list}")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
