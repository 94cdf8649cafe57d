# What a release embeds beside the code: the version (from project()) in the file's version
# resource, and the three pages behind the link labels. The pages default to a reserved domain
# (RFC 2606) that nobody can own; a distributor names the real ones with -DHOTKEYS_GROUP_PAGE=...
# and so on. release.json, beside the exe, tells the tests and `make dist` what went in.
set(HOTKEYS_GROUP_PAGE "https://hotkeys.example/group" CACHE STRING "Page behind the first link label")
set(HOTKEYS_SITE_PAGE "https://hotkeys.example/" CACHE STRING "Page behind the second link label")
set(HOTKEYS_AUTHOR_PAGE "https://hotkeys.example/author" CACHE STRING "Page behind the third link label")

foreach(page IN ITEMS HOTKEYS_GROUP_PAGE HOTKEYS_SITE_PAGE HOTKEYS_AUTHOR_PAGE)
    if(NOT ${page} MATCHES "^https?://[^\"\\\\ ]+$")
        message(FATAL_ERROR "${page} must be an http or https address without quotes, backslashes or blanks: ${${page}}")
    endif()
endforeach()

foreach(target IN LISTS HOTKEYS_PROGRAMS)
    target_compile_definitions(${target} PRIVATE
        HOTKEYS_GROUP_PAGE="${HOTKEYS_GROUP_PAGE}"
        HOTKEYS_SITE_PAGE="${HOTKEYS_SITE_PAGE}"
        HOTKEYS_AUTHOR_PAGE="${HOTKEYS_AUTHOR_PAGE}")
endforeach()

# The copyright line of LICENSE and its licence, as an SPDX identifier, go into the version
# resource, release.json and, through it, the release's bill of materials.
set(HOTKEYS_LICENSE MIT)
file(STRINGS ${CMAKE_SOURCE_DIR}/LICENSE HOTKEYS_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)

# The programs' resources include it from there (CMakeLists.txt, add_hotkeys_program).
configure_file(${CMAKE_SOURCE_DIR}/resources/Version.h.in ${CMAKE_BINARY_DIR}/generated/Version.h)

configure_file(${CMAKE_SOURCE_DIR}/resources/release.json.in ${CMAKE_BINARY_DIR}/release.json
    @ONLY)

# No path of the machine that builds goes into the program, so that a build elsewhere gives the
# same bytes; `make dist` sets the one time stamp, the PE header's, from the last commit.
foreach(target IN ITEMS hotkeys_core ${HOTKEYS_PROGRAMS})
    target_compile_options(${target} PRIVATE -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
                                             -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
endforeach()

# The link map, from which `make dist` writes the notices of each library linked into the program
# (tools/dist/release/notices.py) and its bill of materials.
target_link_options(HotKeys PRIVATE -Wl,-Map=${CMAKE_BINARY_DIR}/HotKeys.map)
